#include "MaskedLineEdit.h"

#include "Dialogs.h"
#include "SingleLineText.h"
#include "UserGesture.h"
#include "platform/core/MaskedText.h"
#include "platform/core/PlatformMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>

// The keys are handled here rather than by QLineEdit::setInputMask: Qt's mask drops blank
// positions from text(), re-reads the blank character of a text set through setText() as
// typed input (so "_5/_3/24" would come back shifted), and withholds returnPressed and
// editingFinished while required positions are blank, which the window's Enter handling
// relies on. Every edit goes through MaskedText, whose rules are tested without a widget; any
// change QLineEdit makes by a path not covered here is undone (see textEditedByBase).

namespace
{

// The edit whose check is putting the focus back: the edit losing the focus to it must not
// raise its own check in turn.
MaskedLineEdit *refocusing = nullptr;

} // namespace

MaskedLineEdit::MaskedLineEdit(QWidget *parent) : QLineEdit(parent)
{
    SingleLineText::install(this);
    connect(this, &QLineEdit::textEdited, this, &MaskedLineEdit::textEditedByBase);
}

QString MaskedLineEdit::shownFor(const QString &value) const
{
    return isMasked() ? mask_.displayText(value) : value;
}

void MaskedLineEdit::setEditMask(const QString &mask)
{
    const bool modified = isValueModified();
    const QString value = storedValue();
    mask_ = EditMask(mask);
    if (!mask_.isValid())
        qWarning("MaskedLineEdit: edit mask \"%s\" is not supported", qPrintable(mask));
    setAcceptDrops(!isMasked());
    originalText_ = shownFor(original_);
    showText(shownFor(modified ? value : original_), 0);
}

QString MaskedLineEdit::storedValue() const
{
    if (!isValueModified())
        return original_;
    return mask_.storedValue(text());
}

void MaskedLineEdit::setStoredValue(const QString &value)
{
    original_ = value;
    originalText_ = shownFor(value);
    showText(originalText_, isMasked() ? 0 : int(originalText_.size()));
}

void MaskedLineEdit::revert()
{
    setStoredValue(original_);
}

bool MaskedLineEdit::isValueModified() const
{
    return text() != originalText_;
}

bool MaskedLineEdit::isComplete() const
{
    return mask_.isComplete(text());
}

bool MaskedLineEdit::validate()
{
    if (isComplete())
        return true;
    Dialogs::error(this, PlatformMessages::invalidMaskInput());
    const QString shown = mask_.normalised(text());
    int first = 0;
    for (int p = 0; p < mask_.positionCount(); ++p) {
        const QChar c = shown.at(p);
        if (!mask_.isLiteral(p) && !EditMask::isDigit(c) &&
            (mask_.isRequired(p) || !mask_.isBlankChar(c))) {
            first = p;
            break;
        }
    }
    refocusing = this;
    setFocus(Qt::OtherFocusReason);
    refocusing = nullptr;
    setCursorPosition(first);
    return false;
}

MaskedText MaskedLineEdit::editState() const
{
    MaskedText state(mask_, text(), cursorPosition());
    if (hasSelectedText())
        state.select(selectionStart(), selectionLength());
    return state;
}

void MaskedLineEdit::apply(const MaskedText &edited, bool accepted)
{
    if (edited.text() != text()) {
        showText(edited.text(), edited.cursor());
        Q_EMIT storedValueEdited();
    } else {
        setCursorPosition(edited.cursor());
    }
    if (!accepted)
        QApplication::beep();
}

void MaskedLineEdit::showText(const QString &text, int cursor)
{
    shownText_ = text;
    setText(text);
    setCursorPosition(cursor);
}

void MaskedLineEdit::pasteText(const QString &text)
{
    if (text.isEmpty())
        return;
    MaskedText state = editState();
    const bool accepted = state.type(text);
    apply(state, accepted);
}

void MaskedLineEdit::cutSelection()
{
    if (!hasSelectedText() || isReadOnly())
        return;
    QGuiApplication::clipboard()->setText(selectedText());
    deleteSelection();
}

void MaskedLineEdit::deleteSelection()
{
    if (!hasSelectedText() || isReadOnly())
        return;
    MaskedText state = editState();
    state.blankRange(selectionStart(), selectionStart() + selectionLength());
    apply(state, true);
}

// QLineEdit changed the text itself (a key binding, a drag, insert()): in a masked edit that
// would shift the positions, so the change is undone.
void MaskedLineEdit::textEditedByBase()
{
    if (!isMasked()) {
        Q_EMIT storedValueEdited();
        return;
    }
    if (text() == shownText_)
        return;
    const int cursor = qMin(cursorPosition(), int(shownText_.size()));
    showText(shownText_, cursor);
    QApplication::beep();
}

void MaskedLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (!isMasked() || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        // No edit history is kept: Escape, handled by the window, restores the value.
        event->accept();
        return;
    }
    MaskedText state = editState();
    bool accepted = true;
    if (event->key() == Qt::Key_Backspace || event->matches(QKeySequence::DeleteStartOfWord))
        state.backspace();
    else if (event->key() == Qt::Key_Delete || event->matches(QKeySequence::DeleteEndOfWord))
        state.deleteForward();
    else if (event->matches(QKeySequence::DeleteEndOfLine))
        state.blankRange(cursorPosition(), mask_.positionCount());
    else if (event->matches(QKeySequence::DeleteCompleteLine))
        state.blankRange(0, mask_.positionCount());
    else if (UserGesture::isTyping(event))
        accepted = state.type(event->text());
    else {
        // Moves, selection, copy, Enter; Escape is ignored there and reaches the window.
        QLineEdit::keyPressEvent(event);
        return;
    }
    apply(state, accepted);
    event->accept();
}

void MaskedLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!isMasked() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    pasteText(event->commitString());
    event->accept();
}

void MaskedLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!isMasked() || checkPending_)
        return;
    if (!UserGesture::leavesControl(event->reason()))
        return;
    if (refocusing != nullptr && refocusing != this)
        return;
    // A value the user has not touched is not the user's input to refuse.
    if (!isValueModified() || isComplete())
        return;
    // The message box is shown once the focus change is over, not in the middle of it.
    checkPending_ = true;
    QTimer::singleShot(0, this, &MaskedLineEdit::checkAfterLeaving);
}

void MaskedLineEdit::checkAfterLeaving()
{
    checkPending_ = false;
    if (!isMasked() || !isVisible() || !isEnabled() || hasFocus() || refocusing != nullptr)
        return;
    validate();
}

void MaskedLineEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    // A click anywhere in an empty mask starts typing at its first position.
    if (isMasked() && !hasSelectedText() && mask_.isBlank(text()))
        setCursorPosition(0);
}

void MaskedLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (isMasked() && !isReadOnly() && event->button() == Qt::MiddleButton &&
        clipboard->supportsSelection()) {
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        pasteText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void MaskedLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    if (!isMasked()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    QMenu *menu = createMaskedContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu *MaskedLineEdit::createMaskedContextMenu()
{
    auto *menu = new QMenu(this);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    // QLineEdit's own labels, so that they read as in every other edit (Qt's translation).
    auto add = [menu](const char *label, QKeySequence::StandardKey key, bool enabled) {
        QString text = QCoreApplication::translate("QLineEdit", label);
        const QKeySequence sequence(key);
        if (!sequence.isEmpty() && QGuiApplication::styleHints()->showShortcutsInContextMenus())
            text += QLatin1Char('\t') + sequence.toString(QKeySequence::NativeText);
        QAction *action = menu->addAction(text);
        action->setEnabled(enabled);
        return action;
    };
    QAction *cut = add("Cu&t", QKeySequence::Cut, editable && selected);
    QAction *copy = add("&Copy", QKeySequence::Copy, selected);
    QAction *paste = add("&Paste", QKeySequence::Paste,
                         editable && !QGuiApplication::clipboard()->text().isEmpty());
    QAction *remove = add("Delete", QKeySequence::UnknownKey, editable && selected);
    menu->addSeparator();
    QAction *all = add("Select All", QKeySequence::SelectAll, !text().isEmpty());
    connect(cut, &QAction::triggered, this, &MaskedLineEdit::cutSelection);
    connect(copy, &QAction::triggered, this, &QLineEdit::copy);
    connect(paste, &QAction::triggered, this,
            [this] { pasteText(QGuiApplication::clipboard()->text()); });
    connect(remove, &QAction::triggered, this, &MaskedLineEdit::deleteSelection);
    connect(all, &QAction::triggered, this, &QLineEdit::selectAll);
    return menu;
}
