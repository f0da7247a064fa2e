#pragma once

#include "Bookmark.h"
#include "Field.h"
#include "Record.h"
#include "RecordOrder.h"
#include "RowRef.h"
#include "TableDefinition.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class RowSet;
class SqliteDatabase;
class TableFile;

// A table component: a cursor over the rows of one table file, in index order, with the
// browse/edit/insert states, events, a per-row filter, calculated fields and bookmarks that
// the windows rely on. Rows in view are held in memory; every post and delete is written to
// the file and durable before the call returns. The components open on the same file share one
// copy of its rows (TableFile): a post or delete through one is in the others' rows, order and
// view on return, each keeping its current row (or its position, when that row went) and its
// record being edited; a write by another program is taken in by every component at the next
// first() of any of them.
class Table : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(Table &)>;
    using FilterHandler = std::function<bool(Table &)>;

    explicit Table(TableDefinition definition, QObject *parent = nullptr);
    ~Table() override;

    const TableDefinition &definition() const { return def_; }

    // The folder of the file; set before opening.
    void setDatabaseName(const QString &folder);
    const QString &databaseName() const { return folder_; }
    QString filePath() const;
    // "Date soins;Beneficiaire;Numero"; the primary key when empty.
    void setIndexFieldNames(const QString &names);
    QString indexFieldNames() const;

    // Events, one handler each.
    Handler beforeOpen, afterOpen, beforePost, afterPost, beforeDelete, afterDelete, onCalcFields;
    FilterHandler onFilterRecord;

    // Opens with the rows at both ends of the index order (at least `rows` of each) read at
    // once, when the order starts with a date and no filter is on: the others are read on a
    // second thread meanwhile. Every operation keeps its meaning; one that needs a row not yet
    // read waits for them all (see docs/architecture.md).
    void setEarlyRows(int rows) { earlyRows_ = rows; }
    void open();
    void close();
    // Every row of the file held (false only for a while after an early open).
    bool rowsComplete() const;
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool isModified() const { return modified_; }
    // Opened for reading only (the file or its folder is read-only, the disk full): editing,
    // appending, posting and deleting are refused with readOnlyReason().
    bool isReadOnly() const;
    QString readOnlyReason() const;

    // Moving posts a modified record and drops an untouched one first.
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    // Moves to the row at that position of the view (a grid click).
    void moveToRow(int row);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return viewSize() == 0; }
    // Rows in view (without a new record not yet posted).
    int recordCount() const { return viewSize(); }
    // Rows of the file, whatever the filter (0 when closed).
    int storedRowCount() const;

    void edit();
    void append();
    void insert();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a modified record, cancels an untouched one.
    void checkBrowseMode();
    // Asks every bound control to write the text it holds into the record (its own "update
    // record" hook); a control whose text is not a value throws, and the post or move stops.
    void updateRecord();
    using UpdateHook = std::function<void()>;
    int addUpdateHook(UpdateHook hook);
    void removeUpdateHook(int id);

    Field &fieldByName(const QString &name);
    Field *findField(const QString &name);
    Field &field(int index) { return *fields_[size_t(index)]; }
    int fieldCount() const { return int(fields_.size()); }

    // Runs `visit` once for every row in view, in order, with the fields reading that row; the
    // cursor, the state and the bound controls are left alone (sums over the view).
    void forEachRowInView(const std::function<void()> &visit);
    // The same for every row held, whatever the filter, in no particular order.
    void forEachStoredRow(const std::function<void()> &visit);
    // How many times this component took its rows in whole (at open, and again when another
    // program wrote to the file and every row was read again): a change tells that every row
    // may differ. A post or delete through any component of the process never changes it.
    quint64 loadCount() const { return loads_; }
    // Every row held, whatever the filter, in index order, read straight from the packed store
    // (a search over the whole table): nothing else moves, nothing is posted, and a record
    // being edited shows as it was last stored.
    void forEachStoredSlot(const std::function<void(const RowStore &, quint32 slot)> &visit) const;

    void setFiltered(bool on);
    bool isFiltered() const { return filterOn_; }
    // Declares that the filter handler reads only these fields of a row (and of a date only
    // its year, with ByYear): it then runs once per distinct combination of their values at
    // each filtering pass, and the other rows take the same verdict. At most three fields.
    enum class FilterDates { Exact, ByYear };
    void setFilterFields(const QStringList &names, FilterDates dates = FilterDates::Exact);
    // Runs the filter handler again over every row (the selections it reads have changed).
    void refilter();

    Bookmark bookmark() const;
    // False when the row is gone or out of view; the cursor then stays.
    bool gotoBookmark(const Bookmark &bookmark);

    // Runs `work` on the file's own connection in one write transaction, committed and durable
    // on return (rolled back when `work` throws): for the tables that live beside this one in
    // the file (the definition's companions). Unlike a write through another connection, it is
    // not taken for another program's, so no component reads its rows again.
    void writeCompanions(const std::function<void(SqliteDatabase &)> &work);

    // Batch copy: the whole table, every row whatever the filter, into `destinationPath`,
    // replacing a table there only once the copy is complete.
    void copyTo(const QString &destinationPath);
    // Adds a unique index on the fields to this closed table's file; the primary index is
    // the definition's own.
    enum class IndexKind { Primary, Secondary };
    void addIndex(const QString &name, const QString &fields, IndexKind kind);

    // Nested: while disabled, bound controls are not told of changes; the last enable tells
    // them everything changed.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

    // For grids: rows shown including a new record not yet posted, the row of the cursor, and
    // the display of any shown row.
    int shownRowCount() const;
    int shownCurrentRow() const;
    QString shownText(int row, int fieldIndex);

Q_SIGNALS:
    // Rows, order, filter or openness changed: redraw everything.
    void dataSetChanged();
    // The current record moved or its values changed.
    void recordChanged();
    void stateChanged();
    // One field of the record being edited changed.
    void fieldChanged(int fieldIndex);
    // Every row is held now, after an early open; sent (after dataSetChanged) from the event
    // loop once they came in.
    void rowsCompleted();

private:
    class ActiveRecordScope;
    friend class ActiveRecordScope;
    // Rolls the rows in memory back with the file.
    friend class TableTransaction;
    // Tells every component of a change to the rows they share.
    friend class TableFile;
    // Field reads and writes the active record through these; nothing else needs them.
    friend class Field;

    // The record holding a field's value for the active record (the current row, the record
    // being edited, the row under a filter test or a grid look-up, or the calculated values of
    // any of those); null when there is none.
    RowRef recordFor(int fieldIndex)
    {
        if (calculated_[size_t(fieldIndex)])
            return calculatedRecord();
        return activeRecord();
    }
    QVariant activeValue(int fieldIndex);
    void setActiveValue(int fieldIndex, const QVariant &value);

    void requireActive() const;
    void requireWritable() const;
    int viewSize() const;
    RowRef viewRow(int i) const;
    // The slot of the current row; RowStore::NoSlot when there is none.
    quint32 currentSlot() const;
    RowRef currentRow() const;
    RowRef activeRecord() const;
    const Record &calculatedRecord();
    std::function<bool(quint32)> acceptor();
    void takeSharedRows();
    void reloadIfChangedElsewhere();
    void placePosted(const Record &posted, quint32 existing, int previous);
    // From TableFile: a shared row changes (before, then each step, then after), or every row
    // is read again.
    void sharedRowsChanging();
    void sharedRowLeaving(quint32 slot);
    void sharedRowArrived(quint32 slot);
    void sharedRowGone(quint32 slot);
    void sharedRowsChanged(bool origin);
    void sharedRowsDropped();
    void sharedRowsLoaded();
    void sharedRowsCompleted();
    // Whether the row at `position` of the view is held, after waiting for every row when it
    // was not read yet.
    bool holdsRow(int position) const;
    void needAllRows() const;
    RowRef shownRecord(int row) const;
    void setCurrent(int row);
    void leaveEditState();
    void notifyDataSet();
    void notifyRecord();
    void notifyState();
    void ensureCalculated();

    TableDefinition def_;
    QString folder_;
    RecordOrder order_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<bool> calculated_; // per field
    std::shared_ptr<TableFile> file_;

    std::unique_ptr<RowSet> rows_;
    bool rowsLoaded_ = false;
    int earlyRows_ = 0;
    // The current row kept across a change of the shared rows.
    quint32 keepSlot_ = RowStore::NoSlot;
    int keepRow_ = -1;
    qint64 keepRowId_ = 0;
    bool keepValid_ = false;
    bool filterOn_ = false;

    State state_ = State::Inactive;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    Record buffer_;        // the record being edited or inserted
    qint64 editRowId_ = 0; // the identity of the row being edited
    int insertRow_ = -1;   // where a new record shows while inserting
    bool modified_ = false;

    RowRef explicitActive_; // row under a filter or grid look-up
    RowRef calcFor_;        // whose calculated values calc_ holds
    Record calc_;
    bool calculating_ = false;

    std::vector<std::pair<int, UpdateHook>> updateHooks_;
    int nextHookId_ = 1;
    bool updating_ = false;

    quint64 loads_ = 0;
    int disabled_ = 0;
    bool pendingDataSet_ = false;
    bool pendingRecord_ = false;
};
