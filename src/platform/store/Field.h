#pragma once

#include "FieldDef.h"

#include <QDate>
#include <QVariant>

class Table;

// Access to one field of a table's active record (the current row, the row being edited, or
// the row a filter or calculation handler is looking at). Reads never fail; writes convert
// and check the value and throw DatabaseError with the platform's French message.
class Field
{
public:
    Field(Table &table, int index);

    const FieldDef &def() const;
    int index() const { return index_; }
    const QString &name() const { return def().name; }
    QString displayLabel() const { return def().label(); }
    FieldKind kind() const { return def().kind; }

    QVariant value() const;
    bool isNull() const;
    // Dates "dd/mm/yy", money "1234,50", numbers as typed, texts as stored; "" when empty.
    QString asString() const;
    // Empty reads as 0.
    double asFloat() const;
    qint64 asCents() const;
    QDate asDate() const;
    // True when the field holds exactly `text` (compared without copying the value).
    bool holds(const QString &text) const;
    // How a grid or an unfocused edit shows the value: money "1 234,50 €", rate "65%".
    QString displayText() const;
    // What an edit shows while typing: as asString.
    QString editText() const { return asString(); }

    // Empty text makes the field empty.
    void setAsString(const QString &text);
    void setAsFloat(double value);
    void setAsCents(qint64 cents);
    void setAsDate(const QDate &date);
    void clear();
    void setValue(const QVariant &value);

private:
    Table &table_;
    int index_;
};
