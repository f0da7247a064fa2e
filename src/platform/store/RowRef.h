#pragma once

#include "Record.h"
#include "RowStore.h"

// The row whose values the fields read: either a record (being edited, or calculated) or a
// packed row of the store. Null when there is none; a null row has no value.
class RowRef
{
public:
    RowRef() = default;
    RowRef(const Record &record) : record_(&record) {} // NOLINT: a record is a row
    RowRef(const RowStore &store, quint32 slot) : store_(&store), slot_(slot) {}

    bool isNull() const { return !record_ && !store_; }
    bool isPacked() const { return store_ != nullptr; }
    quint32 slot() const { return slot_; }

    bool has(int field) const
    {
        if (store_)
            return store_->has(slot_, field);
        return record_ && record_->has(field);
    }
    qint64 number(int field) const
    {
        return store_ ? store_->number(slot_, field) : record_->number(field);
    }
    // `textSlot` is the field's text slot in a record (TableDefinition::textSlot).
    const QString &text(int field, int textSlot) const
    {
        return store_ ? store_->text(slot_, field) : record_->text(textSlot);
    }
    qint64 rowId() const { return store_ ? store_->rowId(slot_) : record_->rowId; }

    bool operator==(const RowRef &other) const
    {
        return record_ == other.record_ && store_ == other.store_ && slot_ == other.slot_;
    }

private:
    const Record *record_ = nullptr;
    const RowStore *store_ = nullptr;
    quint32 slot_ = 0;
};
