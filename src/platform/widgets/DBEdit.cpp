#include "DBEdit.h"

#include "UserGesture.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/WordCapitals.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/Field.h"
#include "platform/store/Table.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

namespace
{

constexpr int UnlimitedLength = 32767; // QLineEdit's own default

// Letter by letter, so that the text keeps its length (a maximum length still holds, the caret
// stays put): a letter whose capital is longer ("ß") is left as it is.
QString upperCase(const QString &text)
{
    const QLocale locale;
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (!result.at(i).isLower())
            continue;
        const QString upper = locale.toUpper(QString(result.at(i)));
        if (upper.size() == 1)
            result[i] = upper.at(0);
    }
    return result;
}

} // namespace

DBEdit::DBEdit(QWidget *parent)
    : MaskedLineEdit(parent),
      link_(this, {[this] { showFieldValue(); }, [this] { writeField(); }, [this] { selectAll(); }})
{
    connect(this, &MaskedLineEdit::storedValueEdited, this, &DBEdit::userEdited);
}

DBEdit::~DBEdit() = default;

void DBEdit::bind(Table &table, const QString &fieldName)
{
    const FieldDef &def = table.fieldByName(fieldName).def();
    setEditMask(def.editMask);
    setReadOnly(def.calculated || def.kind == FieldKind::AutoIncrement);
    link_.bind(table, fieldName, FieldLink::Pending::TypedText);
}

void DBEdit::setCharCase(CharCase charCase)
{
    charCase_ = charCase;
}

void DBEdit::setWordCapitals(bool on)
{
    wordCapitals_ = on;
}

void DBEdit::setSelectAllOnClick(bool on)
{
    selectAllOnClick_ = on;
}

void DBEdit::updateRecord()
{
    link_.updateRecord();
}

void DBEdit::showFieldValue()
{
    const Field *f = link_.field();
    QString value;
    // The editable form only where there is something to type: a calculated rate stays "65%".
    if (f)
        value = isMasked() ? f->asString()
                           : (hasFocus() && link_.canModify() ? f->editText() : f->displayText());
    const FieldDef *def = f ? &f->def() : nullptr;
    if (def && def->kind == FieldKind::String && def->size > 0 && !isMasked()) {
        // A longer value already in the file is shown whole, never cut by the limit.
        setMaxLength(std::max(def->size, int(value.size())));
    } else {
        setMaxLength(UnlimitedLength);
    }
    // The same value again (another control's change, the table going into edit) leaves the
    // caret and the selection alone.
    if (!isValueModified() && storedValue() == value)
        return;
    setStoredValue(value);
    if (hasFocus())
        selectAll();
}

void DBEdit::writeField()
{
    Field *f = link_.field();
    if (!f)
        return;
    if (isMasked()) {
        if (!isComplete())
            throw DatabaseError(PlatformMessages::invalidMaskInput());
        f->setAsString(storedValue());
    } else {
        f->setAsString(text());
    }
}

void DBEdit::userEdited()
{
    if (link_.isLoading() || !link_.isBound())
        return;
    if (charCase_ == CharCase::Upper && !isMasked()) {
        // Pasted or dropped text: typed letters were turned as they came.
        const QString upper = upperCase(text());
        if (upper != text()) {
            const int cursor = cursorPosition();
            setText(upper);
            setCursorPosition(cursor);
        }
    }
    link_.userChanged();
}

QString DBEdit::adjustTyped(const QString &typed) const
{
    QString result = typed;
    if (wordCapitals_)
        result = WordCapitals::apply(
            text(), hasSelectedText() ? selectionStart() : cursorPosition(), result);
    if (charCase_ == CharCase::Upper)
        result = upperCase(result);
    return result;
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() && !isMasked() && UserGesture::isTyping(event)) {
        const QString adjusted = adjustTyped(event->text());
        if (adjusted != event->text()) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), adjusted,
                              event->isAutoRepeat(), ushort(event->count()));
            MaskedLineEdit::keyPressEvent(&changed);
            event->setAccepted(changed.isAccepted());
            return;
        }
    }
    MaskedLineEdit::keyPressEvent(event);
}

void DBEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!isReadOnly() && !isMasked() && !event->commitString().isEmpty()) {
        const QString adjusted = adjustTyped(event->commitString());
        if (adjusted != event->commitString()) {
            QInputMethodEvent changed(event->preeditString(), event->attributes());
            changed.setCommitString(adjusted, event->replacementStart(),
                                    event->replacementLength());
            MaskedLineEdit::inputMethodEvent(&changed);
            event->setAccepted(changed.isAccepted());
            return;
        }
    }
    MaskedLineEdit::inputMethodEvent(event);
}

void DBEdit::focusInEvent(QFocusEvent *event)
{
    // The editable form first, so that a tab selects the text to be typed over.
    if (link_.isBound() && !link_.isModified())
        link_.reload();
    MaskedLineEdit::focusInEvent(event);
    // Entering by the keyboard or from the program selects the whole text, so that typing
    // replaces it (a click places the caret instead).
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason)
        selectAll();
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    if (!link_.isBound()) {
        MaskedLineEdit::focusOutEvent(event);
        return;
    }
    // The mask's own check on leaving is part of writing the field here, so that a refused
    // value is reported once.
    QLineEdit::focusOutEvent(event);
    link_.focusLeft(*event);
    if (!link_.isModified())
        link_.reload();
}

void DBEdit::mouseReleaseEvent(QMouseEvent *event)
{
    MaskedLineEdit::mouseReleaseEvent(event);
    if (selectAllOnClick_ && event->button() == Qt::LeftButton)
        selectAll();
}
