#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class Field;
class QFocusEvent;
class QWidget;
class Table;

// What a bound control shares with every other: it follows the table to show the field's value,
// puts the table in edit at the user's first change, writes its value back when the table posts
// or moves (the table's update hook) and when the user leaves it, and reports a value that cannot
// be written while keeping the focus. A record that merely comes into view is never written.
// A control holds its link as a member, so that the link lets go of the table before the
// control's own parts are destroyed.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    // `load` shows field() (null when unbound) in the control; `write` puts the control's value
    // into field() and throws DatabaseError when it is not a value; `selectAll` selects the
    // control's text after a refused value.
    struct Callbacks {
        std::function<void()> load;
        std::function<void()> write;
        std::function<void()> selectAll;
    };

    FieldLink(QWidget *control, Callbacks callbacks);
    FieldLink(const FieldLink &) = delete;
    FieldLink &operator=(const FieldLink &) = delete;
    ~FieldLink() override;

    // What the control may hold that the record does not have yet: typed text, which every
    // post and move of the table writes first, or nothing (a choice is written at once).
    enum class Pending { TypedText, Nothing };
    // Throws DatabaseError when the table has no such field; the link is then unchanged.
    void bind(Table &table, const QString &fieldName, Pending pending);
    void unbind();
    bool isBound() const;
    Table *table() const;
    Field *field() const;
    // Bound to a field the user may change (not calculated, not the entry number).
    bool canModify() const;

    bool isModified() const { return modified_; }
    bool isLoading() const { return loading_; }

    // The user changed the control's value: the table goes into edit. When it cannot, the
    // error is shown, the field's value shown again and false returned.
    bool userChanged();
    // For controls that write at once (lists, check boxes): edit, then `write` the field. On
    // failure the error is shown, the field's value shown again and false returned.
    bool writeNow(const std::function<void(Field &)> &write);
    // Writes the user's value into the field if there is one; throws DatabaseError.
    void updateRecord();
    // Shows the field's value again, dropping the user's change.
    void reload();
    // The control lost the focus: the user's value is written. A refusal is shown once the
    // focus change is over, and the focus comes back to the control with its text selected.
    void focusLeft(const QFocusEvent &event);

private:
    void startEdit();
    void dataChanged();
    void stateChanged();
    void fieldChanged(int fieldIndex);
    void writeFromHook();
    void reportFailure();

    QWidget *control_;
    Callbacks callbacks_;
    QPointer<Table> table_;
    int fieldIndex_ = -1;
    int hookId_ = 0;
    QList<QMetaObject::Connection> connections_;

    bool modified_ = false;
    bool loading_ = false;
    bool startingEdit_ = false;
    QString failure_;
    bool reportPending_ = false;
    bool failureShownByCaller_ = false;
};
