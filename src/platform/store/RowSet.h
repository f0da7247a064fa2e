#pragma once

#include "Record.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class RecordOrder;

// The rows of a table component held in memory, in index order, and the view its filter lets
// through: positions of rows, a posted row put in its place, a deleted one taken out. Rows keep
// their address for their whole life, so bookmarks and the view point at them directly.
class RowSet
{
public:
    using Accept = std::function<bool(Record *)>;

    explicit RowSet(const RecordOrder &order) : order_(order) {}

    void load(std::vector<std::unique_ptr<Record>> rows, const Accept &accept);
    void clear();
    // After a change of index order.
    void resort(const Accept &accept);
    // Filtering on (rebuilding the view with `accept`) or off.
    void setFiltered(bool on, const Accept &accept);
    bool isFiltered() const { return filtered_; }

    // The rows in view.
    int size() const { return filtered_ ? int(view_.size()) : int(rows_.size()); }
    Record *at(int i) const { return filtered_ ? view_[size_t(i)] : rows_[size_t(i)].get(); }
    // Every row held, whatever the filter.
    int storedCount() const { return int(rows_.size()); }
    // Position in view, -1 when the row is not in view.
    int positionOf(const Record *record) const;
    Record *find(qint64 rowId) const;

    // A posted row: a new one is added, an existing one takes the posted values; either way it
    // moves to its place in order, and into or out of the view. Returns the row.
    Record *place(std::unique_ptr<Record> posted, Record *existing, const Accept &accept);
    void remove(Record *record);

private:
    int rowsPositionOf(const Record *record) const;
    void rebuildView(const Accept &accept);

    const RecordOrder &order_;
    std::vector<std::unique_ptr<Record>> rows_; // every row, in index order
    std::vector<Record *> view_;                // rows accepted by the filter, when filtered
    std::unordered_map<qint64, Record *> byRowId_;
    bool filtered_ = false;
};
