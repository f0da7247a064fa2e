#pragma once

#include "FieldLink.h"

#include <QCheckBox>

class Field;
class Table;

// A check box bound to a yes/no text field. The field's text decides the state: one of the
// checked values, one of the unchecked values, or anything else (an empty flag), shown as
// undetermined. A user click goes between checked and unchecked only, puts the table in edit and
// writes the first value of the list at once. stateChanged fires on every change of the shown
// state, whether the user clicked or another record came into view; toggledByUser tells the
// user's clicks apart.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit DBCheckBox(QWidget *parent = nullptr);
    explicit DBCheckBox(const QString &text, QWidget *parent = nullptr);
    ~DBCheckBox() override;

    // Throws DatabaseError when the table has no such field.
    void bind(Table &table, const QString &fieldName);
    Table *table() const { return link_.table(); }
    Field *field() const { return link_.field(); }

    // Defaults: {"Vrai"} and {"Faux"}. Empty lists are ignored.
    void setValues(const QStringList &checkedValues, const QStringList &uncheckedValues);
    const QStringList &checkedValues() const { return checked_; }
    const QStringList &uncheckedValues() const { return unchecked_; }

Q_SIGNALS:
    // The user's click was written into the field; `checked` is the new state.
    void toggledByUser(bool checked);

protected:
    void nextCheckState() override;

private:
    void showFieldValue();

    FieldLink link_;
    QStringList checked_{QStringLiteral("Vrai")};
    QStringList unchecked_{QStringLiteral("Faux")};
};
