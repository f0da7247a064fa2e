#include "DBMemo.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

DBMemo::DBMemo(QWidget *parent)
    : QPlainTextEdit(parent), m_link(this, {[this] { showFieldValue(); }, [this] { writeField(); },
                                            [this] { selectAll(); }})
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::userEdited);
}

DBMemo::~DBMemo() = default;

void DBMemo::bind(Table &table, const QString &fieldName)
{
    const FieldDef &def = table.fieldByName(fieldName).def();
    setReadOnly(def.calculated);
    m_link.bind(table, fieldName, FieldLink::Pending::TypedText);
}

void DBMemo::setSelectAllOnClick(bool on)
{
    m_selectAllOnClick = on;
}

void DBMemo::updateRecord()
{
    m_link.updateRecord();
}

void DBMemo::showFieldValue()
{
    const Field *f = m_link.field();
    const QString value = f ? f->asString() : QString();
    // The same text again leaves the caret and the scroll position where they are.
    if (toPlainText() == value)
        return;
    m_showing = true;
    setPlainText(value);
    m_showing = false;
}

void DBMemo::writeField()
{
    if (Field *f = m_link.field())
        f->setAsString(toPlainText());
}

void DBMemo::userEdited()
{
    if (m_showing || m_link.isLoading() || !m_link.isBound())
        return;
    m_link.userChanged();
}

void DBMemo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_link.focusLeft(*event);
}

void DBMemo::mouseReleaseEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (m_selectAllOnClick && event->button() == Qt::LeftButton)
        selectAll();
}
