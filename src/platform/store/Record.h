#pragma once

#include <QString>
#include <QVarLengthArray>

#include <vector>

// One row as held in memory. It is compact because a lifetime of care entries stays in
// memory and totals walk every row: numbers (dates as Julian days, amounts in cents, floating
// point as raw bits, row identities) by field index, texts by text slot (see TableDefinition),
// and one bit per field telling whether it holds a value.
class Record
{
public:
    Record() = default;
    Record(int fieldCount, int textCount) : numbers_(fieldCount, 0), texts_(size_t(textCount)) {}

    qint64 rowId = 0; // 0 for a row not yet written

    bool has(int field) const { return (present_ >> field) & 1u; }
    qint64 number(int field) const { return numbers_[field]; }
    const QString &text(int slot) const { return texts_[size_t(slot)]; }

    void setNumber(int field, qint64 value)
    {
        numbers_[field] = value;
        present_ |= bit(field);
    }
    void setText(int field, int slot, const QString &value)
    {
        texts_[size_t(slot)] = value;
        present_ |= bit(field);
    }
    // Makes the field empty; `slot` is its text slot or -1.
    void clear(int field, int slot)
    {
        present_ &= ~bit(field);
        numbers_[field] = 0;
        if (slot >= 0)
            texts_[size_t(slot)] = QString();
    }

private:
    static quint64 bit(int field) { return quint64(1) << field; }

    quint64 present_ = 0;
    QVarLengthArray<qint64, 24> numbers_;
    std::vector<QString> texts_;
};
