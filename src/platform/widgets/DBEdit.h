#pragma once

#include "FieldLink.h"
#include "MaskedLineEdit.h"

class Field;
class Table;

// An edit bound to one field of a table. Unfocused it shows the field as a grid does (money
// with its currency); focused, the form one types (money without grouping, masked fields through
// their mask). The user's first change puts the table in edit; the text is written into the field
// when the table posts or moves and when the user leaves the edit, where a text that is not a
// value is refused with the platform's message and the focus stays. Enter and Escape are left to
// the window.
class DBEdit : public MaskedLineEdit
{
    Q_OBJECT

public:
    enum class CharCase { Normal, Upper };

    explicit DBEdit(QWidget *parent = nullptr);
    ~DBEdit() override;

    // Takes the field's edit mask, limits a plain text field to its size and makes a
    // calculated field read-only. Throws DatabaseError when the table has no such field.
    void bind(Table &table, const QString &fieldName);
    Table *table() const { return link_.table(); }
    Field *field() const { return link_.field(); }

    // Upper: every letter the user enters becomes a capital (é gives É).
    void setCharCase(CharCase charCase);
    CharCase charCase() const { return charCase_; }
    // The word-capitals rule (see WordCapitals) for each typed character.
    void setWordCapitals(bool on);
    bool wordCapitals() const { return wordCapitals_; }
    // A click selects the whole text, so that typing replaces it.
    void setSelectAllOnClick(bool on);
    bool selectAllOnClick() const { return selectAllOnClick_; }

    // The user has changed the text since the field was last shown.
    bool isModified() const { return link_.isModified(); }
    // Writes the user's text into the field if modified; throws DatabaseError when it is not a
    // value (a mask left incomplete, a date or amount that does not read).
    void updateRecord();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showFieldValue();
    void writeField();
    void userEdited();
    QString adjustTyped(const QString &typed) const;

    FieldLink link_;
    CharCase charCase_ = CharCase::Normal;
    bool wordCapitals_ = false;
    bool selectAllOnClick_ = false;
};
