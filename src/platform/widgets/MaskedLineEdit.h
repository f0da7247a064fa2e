#pragma once

#include "platform/core/EditMask.h"

#include <QLineEdit>

class MaskedText;
class QMenu;

// A line edit that may carry an edit mask (see EditMask): it shows the mask with its blank
// character, takes digits into the positions left to right, blanks positions instead of shifting
// the text, and refuses to be left with required positions unfilled. Without a mask it is a plain
// QLineEdit. It knows nothing of tables: data-aware edits wrap or derive from it.
//
// In a masked edit, text() is the edit text with its blanks; storedValue() is the value. Set the
// value with setStoredValue(): QLineEdit::setText() bypasses the mask.
class MaskedLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskedLineEdit(QWidget *parent = nullptr);

    // "" or an invalid mask: no mask.
    void setEditMask(const QString &mask);
    QString editMask() const { return mask_.source(); }
    const EditMask &mask() const { return mask_; }
    bool isMasked() const { return !mask_.isEmpty(); }

    // The value to store. A value given to setStoredValue and not changed since comes back
    // exactly as given, even when the mask could not show all of it.
    QString storedValue() const;
    void setStoredValue(const QString &value);
    void revert();
    // The edit no longer shows the value last given to setStoredValue.
    bool isValueModified() const;
    bool isComplete() const;
    // The check made when the user leaves the edit, for a caller about to post: true when the
    // mask is satisfied; otherwise shows the platform's message, puts the focus back in the
    // edit at the first unfilled position and returns false.
    bool validate();

    // The context menu of a masked edit, whose actions blank rather than shift the text.
    QMenu *createMaskedContextMenu();

Q_SIGNALS:
    // The user changed the value (typing, deleting, pasting); not emitted by setStoredValue.
    void storedValueEdited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QString shownFor(const QString &value) const;
    MaskedText editState() const;
    void apply(const MaskedText &edited, bool accepted);
    void showText(const QString &text, int cursor);
    void pasteText(const QString &text);
    void cutSelection();
    void deleteSelection();
    void textEditedByBase();
    void checkAfterLeaving();

    EditMask mask_;
    QString original_;
    QString originalText_;
    QString shownText_;
    bool checkPending_ = false;
};
