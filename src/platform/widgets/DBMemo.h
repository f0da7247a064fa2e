#pragma once

#include "FieldLink.h"

#include <QPlainTextEdit>

class Field;
class Table;

// A multi-line note bound to one memo field, with the edit's binding rules (DBEdit): the user's
// first change puts the table in edit, the text is written by every post and move and when the
// user leaves the note. Enter never starts a new line: the windows give it a meaning of their
// own, and the key goes on to them. Tab moves to the next control.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DBMemo(QWidget *parent = nullptr);
    ~DBMemo() override;

    // Throws DatabaseError when the table has no such field.
    void bind(Table &table, const QString &fieldName);
    Table *table() const { return link_.table(); }
    Field *field() const { return link_.field(); }

    void setSelectAllOnClick(bool on);
    bool selectAllOnClick() const { return selectAllOnClick_; }

    bool isModified() const { return link_.isModified(); }
    // Writes the user's text into the field if modified; throws DatabaseError.
    void updateRecord();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showFieldValue();
    void writeField();
    void userEdited();

    FieldLink link_;
    bool showing_ = false;
    bool selectAllOnClick_ = false;
};
