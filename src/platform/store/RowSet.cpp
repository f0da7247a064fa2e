#include "RowSet.h"

#include "FilterMemo.h"
#include "RankedOrder.h"
#include "RecordOrder.h"

#include <algorithm>

RowSet::RowSet(const RecordOrder &order) : order_(order) {}

RowSet::~RowSet() = default;

void RowSet::declareFilterFields(FilterFields declared)
{
    filter_ = std::move(declared);
    forgetClasses();
}

void RowSet::adoptClasses(std::unique_ptr<FilterMemo> &memo)
{
    if (memo && store_ && memo->isFor(*store_, filter_))
        memo_ = std::move(memo);
}

void RowSet::forgetClasses()
{
    memo_.reset();
    if (store_ && FilterMemo::keepsClassesOf(filter_))
        memo_ = std::make_unique<FilterMemo>(*store_, filter_);
}

void RowSet::load(const RowStore &store, std::vector<quint32> slots, bool inOrder,
                  const Accept &accept)
{
    store_ = &store;
    forgetClasses(); // text numbers may have started again
    gapAt_ = gapSize_ = 0;
    rows_ = std::move(slots);
    if (!inOrder)
        RankedOrder(order_, store).sort(rows_);
    rebuildView(accept);
}

void RowSet::clear()
{
    store_ = nullptr;
    memo_.reset();
    rows_ = {};
    view_ = {};
    gapAt_ = gapSize_ = 0;
}

void RowSet::setGap(int at, int size)
{
    gapAt_ = std::clamp(at, 0, int(rows_.size()));
    gapSize_ = std::max(size, 0);
}

void RowSet::resort(const Accept &accept)
{
    if (!store_)
        return;
    const RankedOrder ranked(order_, *store_);
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&ranked](quint32 a, quint32 b) { return ranked.less(a, b); });
    rebuildView(accept);
}

void RowSet::setFiltered(bool on, const Accept &accept)
{
    filtered_ = on;
    if (store_)
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
    if (!store_)
        return -1;
    if (filtered_)
        return positionIn(view_, slot, *store_, order_);
    const int at = positionIn(rows_, slot, *store_, order_);
    return at < gapAt_ ? at : at + gapSize_;
}

void RowSet::insertInOrder(std::vector<quint32> &rows, quint32 slot)
{
    const RowRef key(*store_, slot);
    rows.insert(
        std::upper_bound(rows.begin(), rows.end(), slot,
                         [&](quint32, quint32 b) { return order_.less(key, RowRef(*store_, b)); }),
        slot);
}

void RowSet::takeOut(quint32 slot)
{
    if (!store_)
        return;
    if (filtered_) {
        const int shown = positionIn(view_, slot, *store_, order_);
        if (shown >= 0)
            view_.erase(view_.begin() + shown);
    }
    const int at = positionIn(rows_, slot, *store_, order_);
    if (at >= 0)
        rows_.erase(rows_.begin() + at);
}

void RowSet::putIn(quint32 slot, const Accept &accept)
{
    if (!store_)
        return;
    if (memo_)
        memo_->refresh(slot);
    insertInOrder(rows_, slot);
    // The filter itself: the selections it reads may have moved since the last pass.
    if (filtered_ && accept(slot))
        insertInOrder(view_, slot);
}

void RowSet::forget(quint32 slot)
{
    if (memo_)
        memo_->refresh(slot);
}
