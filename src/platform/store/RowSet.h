#pragma once

#include "RowStore.h"

#include <functional>
#include <memory>
#include <vector>

class FilterMemo;
class RecordOrder;
class TableDefinition;

// The rows of a table component held in memory (packed in a RowStore), in index order, and
// the view its filter lets through: positions of rows, a posted row put in its place, a
// deleted one taken out. Rows are named by slot number for their whole life, so the order, the
// view and the look-up by row identity are plain vectors of slot numbers.
class RowSet
{
public:
    using Accept = std::function<bool(quint32 slot)>;

    RowSet(const TableDefinition &definition, const RecordOrder &order);
    ~RowSet();

    // The filter reads only these fields (of a date only its year, with `datesByYear`): the
    // view is then rebuilt with one filter run per distinct combination of their values.
    void declareFilterFields(const std::vector<int> &fields, bool datesByYear);

    // Loading: the store is emptied, filled by the caller, then the rows are put in order.
    RowStore &beginLoad();
    void finishLoad(const Accept &accept);
    void clear();
    const RowStore &store() const { return store_; }
    // After a change of index order.
    void resort(const Accept &accept);
    // Filtering on (rebuilding the view with `accept`) or off.
    void setFiltered(bool on, const Accept &accept);
    bool isFiltered() const { return filtered_; }

    // The rows in view.
    int size() const { return filtered_ ? int(view_.size()) : int(rows_.size()); }
    quint32 at(int i) const { return filtered_ ? view_[size_t(i)] : rows_[size_t(i)]; }
    // Every row held, whatever the filter.
    int storedCount() const { return int(rows_.size()); }
    quint32 storedAt(int i) const { return rows_[size_t(i)]; }
    // Position in view, -1 when the row is not in view.
    int positionOf(quint32 slot) const;
    // RowStore::NoSlot when there is no row with that identity.
    quint32 find(qint64 rowId) const;

    // A posted row: a new one (`existing` NoSlot) is added, an existing one takes the posted
    // values; either way it moves to its place in order, and into or out of the view. Returns
    // the row's slot.
    quint32 place(const Record &posted, quint32 existing, const Accept &accept);
    void remove(quint32 slot);

private:
    static int positionIn(const std::vector<quint32> &rows, quint32 slot, const RowStore &store,
                          const RecordOrder &order);
    void insertInOrder(std::vector<quint32> &rows, quint32 slot);
    void rebuildView(const Accept &accept);
    size_t firstWithRowId(qint64 rowId) const;

    void forgetClasses();

    RowStore store_;
    const RecordOrder &order_;
    std::vector<int> filterFields_;
    bool filterDatesByYear_ = false;
    std::unique_ptr<FilterMemo> memo_; // when filter fields are declared
    std::vector<quint32> rows_;        // every row, in index order
    std::vector<quint32> view_;        // rows accepted by the filter, when filtered
    std::vector<quint32> byRowId_;     // every row, by row identity
    bool filtered_ = false;
};
