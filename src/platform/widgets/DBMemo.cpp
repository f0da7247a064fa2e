#include "DBMemo.h"

#include "platform/store/Field.h"
#include "platform/store/Table.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

DBMemo::DBMemo(QWidget *parent)
    : QPlainTextEdit(parent),
      link_(this, {[this] { showFieldValue(); }, [this] { writeField(); }, [this] { selectAll(); }})
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
    link_.bind(table, fieldName, FieldLink::Pending::TypedText);
}

void DBMemo::setSelectAllOnClick(bool on)
{
    selectAllOnClick_ = on;
}

void DBMemo::updateRecord()
{
    link_.updateRecord();
}

void DBMemo::showFieldValue()
{
    const Field *f = link_.field();
    const QString value = f ? f->asString() : QString();
    // The same text again leaves the caret and the scroll position where they are.
    if (toPlainText() == value)
        return;
    showing_ = true;
    setPlainText(value);
    showing_ = false;
}

void DBMemo::writeField()
{
    if (Field *f = link_.field())
        f->setAsString(toPlainText());
}

void DBMemo::userEdited()
{
    if (showing_ || link_.isLoading() || !link_.isBound())
        return;
    link_.userChanged();
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
    link_.focusLeft(*event);
}

void DBMemo::mouseReleaseEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (selectAllOnClick_ && event->button() == Qt::LeftButton)
        selectAll();
}
