#pragma once

#include "FilterMemo.h"
#include "RowStore.h"

#include <functional>
#include <memory>
#include <vector>

class RecordOrder;

// One component's rows over the shared packed store of its file (TableFile): every row in the
// component's index order, and the view its filter lets through: positions of rows, a posted
// row put in its place, a deleted one taken out. Rows are named by slot number for their whole
// life, so the order and the view are plain vectors of slot numbers.
class RowSet
{
public:
    using Accept = std::function<bool(quint32 slot)>;

    explicit RowSet(const RecordOrder &order);
    ~RowSet();

    // The filter reads only these fields (of a date only its year, with `datesByYear`): the
    // view is then rebuilt with one filter run per distinct combination of their values.
    void declareFilterFields(FilterFields declared);
    const FilterFields &filterFields() const { return filter_; }
    // Classes worked out beforehand over the rows of this store, for the declared fields.
    void adoptClasses(std::unique_ptr<FilterMemo> &memo);

    // Takes the rows `slots` of `store`, put in order unless `inOrder` says they already are.
    void load(const RowStore &store, std::vector<quint32> slots, bool inOrder,
              const Accept &accept);
    // No rows (the store is read again, or the component closes).
    void clear();
    bool hasStore() const { return store_ != nullptr; }
    const RowStore &store() const { return *store_; }
    // Every row held, in index order.
    const std::vector<quint32> &ordered() const { return rows_; }
    // After a change of index order.
    void resort(const Accept &accept);
    // Filtering on (rebuilding the view with `accept`) or off; only noted when no rows.
    void setFiltered(bool on, const Accept &accept);
    bool isFiltered() const { return filtered_; }

    // Rows of the order not held yet (the file is still being read), counted in positions
    // after the first `at` rows held; unfiltered only, and gone with the next load.
    void setGap(int at, int size);
    bool inGap(int position) const
    {
        return position >= gapAt_ && position < gapAt_ + gapSize_ && !filtered_;
    }
    // The position of the `i`th row held (of ordered()).
    int positionOfHeld(int i) const { return i < gapAt_ ? i : i + gapSize_; }

    // The rows in view.
    int size() const { return filtered_ ? int(view_.size()) : int(rows_.size()) + gapSize_; }
    // Not for a position in the gap.
    quint32 at(int i) const { return filtered_ ? view_[size_t(i)] : rows_[held(i)]; }
    // Every row held, whatever the filter, and those of the gap.
    int storedCount() const { return int(rows_.size()) + gapSize_; }
    quint32 storedAt(int i) const { return rows_[held(i)]; }
    // Position in view, -1 when the row is not in view.
    int positionOf(quint32 slot) const;

    // A row of the store changes: taken out of the order and the view under its old values
    // before, put back in its place (and into the view if `accept` takes it) after. A slot
    // released by the store is forgotten.
    void takeOut(quint32 slot);
    void putIn(quint32 slot, const Accept &accept);
    void forget(quint32 slot);

private:
    size_t held(int position) const
    {
        return size_t(position < gapAt_ ? position : position - gapSize_);
    }
    static int positionIn(const std::vector<quint32> &rows, quint32 slot, const RowStore &store,
                          const RecordOrder &order);
    void insertInOrder(std::vector<quint32> &rows, quint32 slot);
    void rebuildView(const Accept &accept);
    void forgetClasses();

    const RowStore *store_ = nullptr;
    const RecordOrder &order_;
    FilterFields filter_;
    std::unique_ptr<FilterMemo> memo_; // when filter fields are declared
    std::vector<quint32> rows_;        // every row, in index order
    std::vector<quint32> view_;        // rows accepted by the filter, when filtered
    bool filtered_ = false;
    int gapAt_ = 0;
    int gapSize_ = 0;
};
