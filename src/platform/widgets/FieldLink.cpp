#include "FieldLink.h"

#include "Dialogs.h"
#include "HandlerGuard.h"
#include "UserGesture.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/Table.h"

#include <QFocusEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

FieldLink::FieldLink(QWidget *control, Callbacks callbacks)
    : control_(control), callbacks_(std::move(callbacks))
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
    table_ = &table;
    fieldIndex_ = index;
    connections_ = {
        connect(&table, &Table::dataSetChanged, this, &FieldLink::dataChanged),
        connect(&table, &Table::recordChanged, this, &FieldLink::dataChanged),
        connect(&table, &Table::stateChanged, this, &FieldLink::stateChanged),
        connect(&table, &Table::fieldChanged, this, &FieldLink::fieldChanged),
    };
    if (pending == Pending::TypedText)
        hookId_ = table.addUpdateHook([this] { writeFromHook(); });
    reload();
}

void FieldLink::unbind()
{
    for (const QMetaObject::Connection &c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    if (table_ && hookId_ != 0)
        table_->removeUpdateHook(hookId_);
    hookId_ = 0;
    table_ = nullptr;
    fieldIndex_ = -1;
    modified_ = false;
}

Table *FieldLink::table() const
{
    return table_;
}

bool FieldLink::isBound() const
{
    return table_ && fieldIndex_ >= 0;
}

Field *FieldLink::field() const
{
    return isBound() ? &table_->field(fieldIndex_) : nullptr;
}

bool FieldLink::canModify() const
{
    const Field *f = field();
    return f && !f->def().calculated && f->kind() != FieldKind::AutoIncrement;
}

void FieldLink::startEdit()
{
    // Our own edit() must not reload the control: it holds the user's value already.
    const QScopedValueRollback<bool> starting(startingEdit_, true);
    table_->edit();
}

bool FieldLink::userChanged()
{
    if (modified_ || !isBound())
        return true;
    const bool ok = HandlerGuard::run(control_, [this] { startEdit(); });
    if (!ok) {
        reload();
        return false;
    }
    modified_ = true;
    return true;
}

bool FieldLink::writeNow(const std::function<void(Field &)> &write)
{
    if (!isBound())
        return false;
    const bool ok = HandlerGuard::run(control_, [&] {
        startEdit();
        write(*field());
    });
    modified_ = false;
    reload();
    return ok;
}

void FieldLink::updateRecord()
{
    if (!modified_ || !isBound())
        return;
    if (callbacks_.write)
        callbacks_.write();
    modified_ = false;
    reload();
}

void FieldLink::reload()
{
    modified_ = false;
    loading_ = true;
    try {
        if (callbacks_.load)
            callbacks_.load();
    } catch (const std::exception &) {
        // A calculated value whose handler fails: the control keeps what it showed; the
        // failure is the handler's to report, not a table signal's to let escape.
    }
    loading_ = false;
}

void FieldLink::focusLeft(const QFocusEvent &event)
{
    if (!UserGesture::leavesControl(event.reason()))
        return;
    if (!modified_ || !isBound())
        return;
    failureShownByCaller_ = false;
    try {
        updateRecord();
    } catch (const std::exception &e) {
        const auto *platform = dynamic_cast<const PlatformError *>(&e);
        failure_ = platform ? platform->message() : QString::fromUtf8(e.what());
        if (!reportPending_) {
            // Shown once the focus change is over, not in the middle of it.
            reportPending_ = true;
            QTimer::singleShot(0, this, &FieldLink::reportFailure);
        }
    }
}

void FieldLink::writeFromHook()
{
    // Whoever posts or moves shows an error thrown here: a pending report must not repeat it.
    auto shownByCaller = qScopeGuard([this] { failureShownByCaller_ = true; });
    updateRecord();
    shownByCaller.dismiss();
}

void FieldLink::reportFailure()
{
    reportPending_ = false;
    // Written since, or dropped by a cancel: nothing left to refuse.
    if (!modified_ || !control_->isVisible() || !control_->isEnabled())
        return;
    if (!failureShownByCaller_)
        Dialogs::error(control_, failure_);
    failureShownByCaller_ = false;
    control_->setFocus(Qt::OtherFocusReason);
    if (callbacks_.selectAll)
        callbacks_.selectAll();
}

void FieldLink::dataChanged()
{
    // Rows changed around the record being typed (another component's post, rows read in
    // later): the typed text still stands for that record and is kept until it is written.
    if (startingEdit_ || (modified_ && table_ && table_->isEditing()))
        return;
    reload();
}

void FieldLink::stateChanged()
{
    if (startingEdit_ || !table_ || table_->controlsDisabled())
        return;
    // The table going into edit keeps what the user typed; leaving edit shows the field again.
    if (modified_ && table_->isEditing())
        return;
    reload();
}

void FieldLink::fieldChanged(int fieldIndex)
{
    if (fieldIndex == fieldIndex_ && !modified_ && !startingEdit_)
        reload();
}
