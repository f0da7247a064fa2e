#pragma once

#include "RowStore.h"
#include "TableDefinition.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class BackgroundRows;
class FilterMemo;
struct FilterFields;
class Record;
class RecordOrder;
class Table;
class TableStorage;

// The one copy of a table file's rows in the process, shared by every component open on it:
// one connection, the rows read once into one packed store, and the rows by identity. A post or
// a delete through one component changes the store once and places the row in every
// component's own order and view; a write by another program (seen on the one connection)
// reads the rows again once for all. Components whose definitions of the file differ get
// copies of their own, which then see each other's writes as another program's.
//
// Opened early, the file first holds only the rows at both ends of one date order (what a
// window shows first) and the number of rows; a second thread reads every row meanwhile, and
// they are taken in when it is done, or at once by whatever needs a row not yet held.
class TableFile
{
public:
    // The shared rows of the file at `path`, opened and read if no component holds them yet,
    // read again if another program wrote since; `component` joins them. Throws DatabaseError
    // when the file cannot be opened or read, and then nothing is kept.
    // A file no component holds yet opened early: when `order` starts with a date, at least
    // `rows` rows at each end of it are read at once, and the rest on a second thread with the
    // rows' classes for `filter`.
    struct EarlyOpen {
        int rows = 0;
        const RecordOrder &order;
        const FilterFields &filter;
    };
    static std::shared_ptr<TableFile> attach(const TableDefinition &definition, const QString &path,
                                             Table &component, const EarlyOpen *early = nullptr);
    ~TableFile();
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    void detach(Table &component);
    const std::vector<Table *> &components() const { return components_; }

    TableStorage &storage() { return *storage_; }
    const RowStore &store() const { return *store_; }
    // Every row held, by row identity.
    const std::vector<quint32> &byRowId() const { return byRowId_; }
    // RowStore::NoSlot when there is no row with that identity.
    quint32 find(qint64 rowId) const;
    // How many times the rows were read from the file.
    quint64 loadCount() const { return loads_; }

    // Opened early and every row not yet taken in: the store holds the rows at the ends only.
    bool isPartial() const { return partial_; }
    // While partial: the rows of the file, and how many of the held ones come first.
    qint64 partialCount() const { return partialCount_; }
    quint32 headRows() const { return headRows_; }
    // The rows in this order, when the whole read sorted them (to be taken as they are).
    const std::vector<quint32> *presorted(const std::vector<int> &orderFields) const;
    // The filter classes worked out with them, for the one component that takes them.
    std::unique_ptr<FilterMemo> &presortedClasses() { return presortedClasses_; }
    // Takes every row in, waiting for the second thread if need be; from a failed read, reads
    // them on this thread. Nothing when not partial.
    void completeRows();

    // Reads every row again, for every component, when another program wrote to the file.
    void reloadIfChangedElsewhere();
    // Reads every row again (a rolled-back transaction); a failure leaves no rows, and throws.
    void reload();

    // A row already written to the file, posted through `origin`: a new one (`existing`
    // NoSlot) is added, an existing one takes the posted values; every component places it.
    // Returns its slot.
    quint32 placePosted(const Record &posted, quint32 existing, const Table &origin);
    // A row already deleted from the file, through `origin`.
    void removeRow(quint32 slot, const Table &origin);

private:
    TableFile(const TableDefinition &definition, const QString &path);
    void load();
    void loadEarly(const EarlyOpen &early);
    void forEach(const std::function<void(Table &)> &tell);
    size_t firstWithRowId(qint64 rowId) const;

    TableDefinition def_; // first: the store and the storage keep a reference to it
    QString key_;
    std::unique_ptr<TableStorage> storage_;
    std::unique_ptr<RowStore> store_;
    std::vector<quint32> byRowId_;
    std::vector<Table *> components_;
    quint64 loads_ = 0;
    bool partial_ = false;
    qint64 partialCount_ = 0;
    quint32 headRows_ = 0;
    std::vector<int> presortedFields_;
    std::vector<quint32> presorted_;
    std::unique_ptr<FilterMemo> presortedClasses_;
    // Posts the end of the second thread's read to the window thread; goes with the file.
    QObject mailbox_;
    std::unique_ptr<BackgroundRows> background_; // after the mailbox: joined before it goes
};
