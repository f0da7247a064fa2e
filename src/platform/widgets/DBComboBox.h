#pragma once

#include "FieldLink.h"

#include <QComboBox>

class Field;
class Table;

// A drop-down list bound to one field, without free text: it shows the field's text when it is
// one of the items, nothing otherwise. The user choosing an item puts the table in edit and
// writes the item at once; showing another record never writes. The arrow keys do not change
// the item while the list is closed, so that the windows' Up and Down (previous and next
// record) cannot change the record that comes into view.
class DBComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DBComboBox(QWidget *parent = nullptr);
    ~DBComboBox() override;

    void setItems(const QStringList &items);
    // Throws DatabaseError when the table has no such field.
    void bind(Table &table, const QString &fieldName);
    Table *table() const { return link_.table(); }
    Field *field() const { return link_.field(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void showFieldValue();
    void chosen(int index);

    FieldLink link_;
};
