#include "RowSet.h"

#include "RecordOrder.h"

#include <algorithm>

void RowSet::load(std::vector<std::unique_ptr<Record>> rows, const Accept &accept)
{
    rows_ = std::move(rows);
    byRowId_.clear();
    byRowId_.reserve(rows_.size());
    for (const auto &row : rows_)
        byRowId_[row->rowId] = row.get();
    rebuildView(accept);
}

void RowSet::clear()
{
    rows_.clear();
    view_.clear();
    byRowId_.clear();
}

void RowSet::resort(const Accept &accept)
{
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](const std::unique_ptr<Record> &a, const std::unique_ptr<Record> &b) {
                         return order_.less(*a, *b);
                     });
    rebuildView(accept);
}

void RowSet::setFiltered(bool on, const Accept &accept)
{
    filtered_ = on;
    rebuildView(accept);
}

void RowSet::rebuildView(const Accept &accept)
{
    view_.clear();
    if (!filtered_)
        return;
    view_.reserve(rows_.size());
    for (const auto &row : rows_) {
        if (accept(row.get()))
            view_.push_back(row.get());
    }
}

int RowSet::rowsPositionOf(const Record *record) const
{
    auto first = std::lower_bound(rows_.begin(), rows_.end(), record,
                                  [this](const std::unique_ptr<Record> &a, const Record *key) {
                                      return order_.less(*a, *key);
                                  });
    for (auto it = first; it != rows_.end() && !order_.less(*record, **it); ++it) {
        if (it->get() == record)
            return int(it - rows_.begin());
    }
    return -1;
}

int RowSet::positionOf(const Record *record) const
{
    if (!filtered_)
        return rowsPositionOf(record);
    auto first = std::lower_bound(
        view_.begin(), view_.end(), record,
        [this](const Record *a, const Record *key) { return order_.less(*a, *key); });
    for (auto it = first; it != view_.end() && !order_.less(*record, **it); ++it) {
        if (*it == record)
            return int(it - view_.begin());
    }
    return -1;
}

Record *RowSet::find(qint64 rowId) const
{
    const auto it = byRowId_.find(rowId);
    return it == byRowId_.end() ? nullptr : it->second;
}

Record *RowSet::place(std::unique_ptr<Record> posted, Record *existing, const Accept &accept)
{
    Record *placed = existing;
    std::unique_ptr<Record> owner;
    if (existing) {
        // Taken out under its old key, given its new values, put back in order.
        if (filtered_) {
            const int shown = positionOf(existing);
            if (shown >= 0)
                view_.erase(view_.begin() + shown);
        }
        const int at = rowsPositionOf(existing);
        owner = std::move(rows_[size_t(at)]);
        rows_.erase(rows_.begin() + at);
        *existing = std::move(*posted);
    } else {
        owner = std::move(posted);
        placed = owner.get();
        byRowId_[placed->rowId] = placed;
    }
    rows_.insert(
        std::upper_bound(rows_.begin(), rows_.end(), owner,
                         [this](const std::unique_ptr<Record> &a,
                                const std::unique_ptr<Record> &b) { return order_.less(*a, *b); }),
        std::move(owner));
    if (filtered_ && accept(placed))
        view_.insert(std::upper_bound(
                         view_.begin(), view_.end(), placed,
                         [this](const Record *a, const Record *b) { return order_.less(*a, *b); }),
                     placed);
    return placed;
}

void RowSet::remove(Record *record)
{
    if (filtered_) {
        const int shown = positionOf(record);
        if (shown >= 0)
            view_.erase(view_.begin() + shown);
    }
    const int at = rowsPositionOf(record);
    byRowId_.erase(record->rowId);
    if (at >= 0)
        rows_.erase(rows_.begin() + at);
}
