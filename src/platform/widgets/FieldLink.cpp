#include "FieldLink.h"

#include "UserGesture.h"
#include "platform/store/DatabaseError.h"
#include "Dialogs.h"
#include "HandlerGuard.h"
#include "platform/store/Table.h"

#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QScopeGuard>
#include <QTimer>
#include <QWidget>

FieldLink::FieldLink(QWidget *control, Callbacks callbacks)
    : m_control(control), m_callbacks(std::move(callbacks))
{
}

FieldLink::~FieldLink()
{
    unbind();
}

void FieldLink::bind(Table &table, const QString &fieldName, Pending pending)
{
    const int index = table.fieldByName(fieldName).index();
    unbind();
    m_table = &table;
    m_fieldIndex = index;
    m_connections = {
        connect(&table, &Table::dataSetChanged, this, &FieldLink::dataChanged),
        connect(&table, &Table::recordChanged, this, &FieldLink::dataChanged),
        connect(&table, &Table::stateChanged, this, &FieldLink::stateChanged),
        connect(&table, &Table::fieldChanged, this, &FieldLink::fieldChanged),
    };
    if (pending == Pending::TypedText)
        m_hookId = table.addUpdateHook([this] { writeFromHook(); });
    reload();
}

void FieldLink::unbind()
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    if (m_table && m_hookId != 0)
        m_table->removeUpdateHook(m_hookId);
    m_hookId = 0;
    m_table = nullptr;
    m_fieldIndex = -1;
    m_modified = false;
}

Table *FieldLink::table() const
{
    return m_table;
}

bool FieldLink::isBound() const
{
    return m_table && m_fieldIndex >= 0;
}

Field *FieldLink::field() const
{
    return isBound() ? &m_table->field(m_fieldIndex) : nullptr;
}

bool FieldLink::canModify() const
{
    const Field *f = field();
    return f && !f->def().calculated && f->kind() != FieldKind::AutoIncrement;
}

void FieldLink::startEdit()
{
    // Our own edit() must not reload the control: it holds the user's value already.
    const QScopedValueRollback<bool> starting(m_startingEdit, true);
    m_table->edit();
}

bool FieldLink::userChanged()
{
    if (m_modified || !isBound())
        return true;
    const bool ok = HandlerGuard::run(m_control, [this] { startEdit(); });
    if (!ok) {
        reload();
        return false;
    }
    m_modified = true;
    return true;
}

bool FieldLink::writeNow(const std::function<void(Field &)> &write)
{
    if (!isBound())
        return false;
    const bool ok = HandlerGuard::run(m_control, [&] {
        startEdit();
        write(*field());
    });
    m_modified = false;
    reload();
    return ok;
}

void FieldLink::updateRecord()
{
    if (!m_modified || !isBound())
        return;
    if (m_callbacks.write)
        m_callbacks.write();
    m_modified = false;
    reload();
}

void FieldLink::reload()
{
    m_modified = false;
    m_loading = true;
    try {
        if (m_callbacks.load)
            m_callbacks.load();
    } catch (const std::exception &) {
        // A calculated value whose handler fails: the control keeps what it showed; the
        // failure is the handler's to report, not a table signal's to let escape.
    }
    m_loading = false;
}

void FieldLink::focusLeft(const QFocusEvent &event)
{
    if (!UserGesture::leavesControl(event.reason()))
        return;
    if (!m_modified || !isBound())
        return;
    m_failureShownByCaller = false;
    try {
        updateRecord();
    } catch (const std::exception &e) {
        const auto *platform = dynamic_cast<const PlatformError *>(&e);
        m_failure = platform ? platform->message() : QString::fromUtf8(e.what());
        if (!m_reportPending) {
            // Shown once the focus change is over, not in the middle of it.
            m_reportPending = true;
            QTimer::singleShot(0, this, &FieldLink::reportFailure);
        }
    }
}

void FieldLink::writeFromHook()
{
    // Whoever posts or moves shows an error thrown here: a pending report must not repeat it.
    auto shownByCaller = qScopeGuard([this] { m_failureShownByCaller = true; });
    updateRecord();
    shownByCaller.dismiss();
}

void FieldLink::reportFailure()
{
    m_reportPending = false;
    // Written since, or dropped by a cancel: nothing left to refuse.
    if (!m_modified || !m_control->isVisible() || !m_control->isEnabled())
        return;
    if (!m_failureShownByCaller)
        Dialogs::error(m_control, m_failure);
    m_failureShownByCaller = false;
    m_control->setFocus(Qt::OtherFocusReason);
    if (m_callbacks.selectAll)
        m_callbacks.selectAll();
}

void FieldLink::dataChanged()
{
    if (!m_startingEdit)
        reload();
}

void FieldLink::stateChanged()
{
    if (m_startingEdit || !m_table || m_table->controlsDisabled())
        return;
    // The table going into edit keeps what the user typed; leaving edit shows the field again.
    if (m_modified && m_table->isEditing())
        return;
    reload();
}

void FieldLink::fieldChanged(int fieldIndex)
{
    if (fieldIndex == m_fieldIndex && !m_modified && !m_startingEdit)
        reload();
}
