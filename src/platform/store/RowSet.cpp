#include "RowSet.h"

#include "FilterMemo.h"
#include "RankedOrder.h"
#include "RecordOrder.h"

#include <algorithm>
#include <numeric>

RowSet::RowSet(const TableDefinition &definition, const RecordOrder &order)
    : store_(definition), order_(order)
{
}

RowSet::~RowSet() = default;

void RowSet::declareFilterFields(const std::vector<int> &fields, bool datesByYear)
{
    filterFields_ = fields;
    filterDatesByYear_ = datesByYear;
    forgetClasses();
}

void RowSet::forgetClasses()
{
    memo_.reset();
    if (!filterFields_.empty() && filterFields_.size() <= FilterMemo::MaxFields)
        memo_ = std::make_unique<FilterMemo>(store_, filterFields_, filterDatesByYear_);
}

RowStore &RowSet::beginLoad()
{
    clear();
    return store_;
}

void RowSet::finishLoad(const Accept &accept)
{
    rows_.resize(store_.slotCount());
    std::iota(rows_.begin(), rows_.end(), 0u);
    RankedOrder(order_, store_).sort(rows_);
    byRowId_.resize(rows_.size());
    std::iota(byRowId_.begin(), byRowId_.end(), 0u);
    const auto byId = [this](quint32 a, quint32 b) { return store_.rowId(a) < store_.rowId(b); };
    if (!std::is_sorted(byRowId_.begin(), byRowId_.end(), byId))
        std::sort(byRowId_.begin(), byRowId_.end(), byId);
    rebuildView(accept);
}

void RowSet::clear()
{
    store_.clear();
    forgetClasses(); // text numbers start again
    rows_ = {};
    view_ = {};
    byRowId_ = {};
}

void RowSet::resort(const Accept &accept)
{
    const RankedOrder ranked(order_, store_);
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&ranked](quint32 a, quint32 b) { return ranked.less(a, b); });
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
    if (!filtered_) {
        view_.shrink_to_fit();
        return;
    }
    view_.reserve(rows_.size());
    if (memo_) {
        memo_->newPass();
        for (quint32 slot : rows_) {
            if (memo_->accepts(slot, [&] { return accept(slot); }))
                view_.push_back(slot);
        }
        return;
    }
    for (quint32 slot : rows_) {
        if (accept(slot))
            view_.push_back(slot);
    }
}

int RowSet::positionIn(const std::vector<quint32> &rows, quint32 slot, const RowStore &store,
                       const RecordOrder &order)
{
    const RowRef key(store, slot);
    auto first = std::lower_bound(rows.begin(), rows.end(), slot, [&](quint32 a, quint32) {
        return order.less(RowRef(store, a), key);
    });
    for (auto it = first; it != rows.end(); ++it) {
        if (*it == slot)
            return int(it - rows.begin());
        if (order.less(key, RowRef(store, *it)))
            break;
    }
    return -1;
}

int RowSet::positionOf(quint32 slot) const
{
    return positionIn(filtered_ ? view_ : rows_, slot, store_, order_);
}

size_t RowSet::firstWithRowId(qint64 rowId) const
{
    return size_t(std::lower_bound(byRowId_.begin(), byRowId_.end(), rowId,
                                   [this](quint32 a, qint64 id) { return store_.rowId(a) < id; }) -
                  byRowId_.begin());
}

quint32 RowSet::find(qint64 rowId) const
{
    const size_t at = firstWithRowId(rowId);
    return at < byRowId_.size() && store_.rowId(byRowId_[at]) == rowId ? byRowId_[at]
                                                                       : RowStore::NoSlot;
}

void RowSet::insertInOrder(std::vector<quint32> &rows, quint32 slot)
{
    const RowRef key(store_, slot);
    rows.insert(
        std::upper_bound(rows.begin(), rows.end(), slot,
                         [&](quint32, quint32 b) { return order_.less(key, RowRef(store_, b)); }),
        slot);
}

quint32 RowSet::place(const Record &posted, quint32 existing, const Accept &accept)
{
    quint32 slot = existing;
    if (existing != RowStore::NoSlot) {
        // Taken out under its old key, given its new values, put back in order.
        if (filtered_) {
            const int shown = positionIn(view_, existing, store_, order_);
            if (shown >= 0)
                view_.erase(view_.begin() + shown);
        }
        const int at = positionIn(rows_, existing, store_, order_);
        if (at >= 0)
            rows_.erase(rows_.begin() + at);
        store_.assign(existing, posted);
    } else {
        slot = store_.add(posted);
        // New identities are the highest so far: this is an append in practice.
        const qint64 id = store_.rowId(slot);
        byRowId_.insert(
            std::upper_bound(byRowId_.begin(), byRowId_.end(), id,
                             [this](qint64 key, quint32 b) { return key < store_.rowId(b); }),
            slot);
    }
    if (memo_)
        memo_->refresh(slot);
    insertInOrder(rows_, slot);
    // The filter itself: the selections it reads may have moved since the last pass.
    if (filtered_ && accept(slot))
        insertInOrder(view_, slot);
    return slot;
}

void RowSet::remove(quint32 slot)
{
    if (filtered_) {
        const int shown = positionIn(view_, slot, store_, order_);
        if (shown >= 0)
            view_.erase(view_.begin() + shown);
    }
    const int at = positionIn(rows_, slot, store_, order_);
    if (at >= 0)
        rows_.erase(rows_.begin() + at);
    const auto byId = std::find(byRowId_.begin() + qsizetype(firstWithRowId(store_.rowId(slot))),
                                byRowId_.end(), slot);
    if (byId != byRowId_.end())
        byRowId_.erase(byId);
    store_.release(slot);
    if (memo_)
        memo_->refresh(slot);
}
