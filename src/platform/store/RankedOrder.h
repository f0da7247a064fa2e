#pragma once

#include "RecordOrder.h"
#include "RowStore.h"

#include <vector>

// The index order over packed rows for sorting many at once: each text key field's distinct
// texts are put in collation order once, and rows then compare by those ranks, giving the
// same order as RecordOrder without a collation compare per pair of rows.
class RankedOrder
{
public:
    RankedOrder(const RecordOrder &order, const RowStore &store);

    int compare(quint32 a, quint32 b) const;
    bool less(quint32 a, quint32 b) const { return compare(a, b) < 0; }
    // Puts the rows in order; rows already in order of the leading field (a register kept
    // in date order, shuffled within a day) are sorted run by run.
    void sort(std::vector<quint32> &rows) const;

private:
    struct Key;
    int compareKey(const Key &key, quint32 a, quint32 b) const;

    struct Key {
        int field;
        FieldKind kind;
        std::vector<quint32> ranks; // by text number, for text fields
    };
    const RowStore &store_;
    std::vector<Key> keys_;
};
