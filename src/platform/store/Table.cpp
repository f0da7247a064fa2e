#include "Table.h"

#include "DatabaseError.h"
#include "RowSet.h"
#include "SqliteDatabase.h"
#include "TableFile.h"
#include "TableStorage.h"
#include "platform/core/FileNames.h"
#include "platform/core/PlatformMessages.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

#include <algorithm>
#include <sqlite3.h>

// Makes `record` the active record of field reads for the scope's life (a filter test or a
// grid look-up), then restores the previous one.
class Table::ActiveRecordScope
{
public:
    ActiveRecordScope(Table &table, const RowRef &record)
        : table_(table), saved_(table.explicitActive_)
    {
        table_.explicitActive_ = record;
    }
    ~ActiveRecordScope() { table_.explicitActive_ = saved_; }
    ActiveRecordScope(const ActiveRecordScope &) = delete;
    ActiveRecordScope &operator=(const ActiveRecordScope &) = delete;

private:
    Table &table_;
    RowRef saved_;
};

Table::Table(TableDefinition definition, QObject *parent)
    : QObject(parent), def_(std::move(definition)), order_(def_, def_.primaryKey()),
      rows_(std::make_unique<RowSet>(order_))
{
    for (int i = 0; i < def_.fieldCount(); ++i) {
        fields_.push_back(std::make_unique<Field>(*this, i));
        calculated_.push_back(def_.field(i).calculated);
    }
    calc_ = def_.newRecord();
}

Table::~Table()
{
    if (file_)
        file_->detach(*this);
}

void Table::setDatabaseName(const QString &folder)
{
    folder_ = folder;
}

QString Table::filePath() const
{
    return FileNames::resolve(folder_, def_.fileName());
}

void Table::setIndexFieldNames(const QString &names)
{
    QStringList list = names.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    order_ = RecordOrder(def_, list.isEmpty() ? def_.primaryKey() : list);
    if (isActive()) {
        checkBrowseMode();
        needAllRows();
        const quint32 keep = currentSlot();
        rows_->resort(acceptor());
        const int row = keep != RowStore::NoSlot ? rows_->positionOf(keep) : -1;
        setCurrent(row >= 0 ? row : (viewSize() > 0 ? 0 : -1));
        notifyDataSet();
    }
}

QString Table::indexFieldNames() const
{
    return order_.fieldNames().join(QLatin1Char(';'));
}

void Table::requireActive() const
{
    if (!isActive())
        throw DatabaseError(PlatformMessages::tableNotActive());
}

void Table::open()
{
    if (isActive())
        return;
    if (beforeOpen)
        beforeOpen(*this);
    const TableFile::EarlyOpen early{earlyRows_, order_, rows_->filterFields()};
    file_ =
        TableFile::attach(def_, filePath(), *this, earlyRows_ > 0 && !filterOn_ ? &early : nullptr);
    // A filter that fails on the rows leaves the component closed and off the shared rows.
    auto leave = qScopeGuard([this] {
        file_->detach(*this);
        file_.reset();
        rows_->clear();
        rowsLoaded_ = false;
    });
    takeSharedRows();
    leave.dismiss();
    state_ = State::Browse;
    setCurrent(viewSize() > 0 ? 0 : -1);
    bof_ = true;
    eof_ = viewSize() == 0;
    notifyDataSet();
    notifyState();
    if (afterOpen)
        afterOpen(*this);
}

bool Table::isReadOnly() const
{
    return file_ && file_->storage().isReadOnly();
}

QString Table::readOnlyReason() const
{
    return file_ ? file_->storage().readOnlyReason() : QString();
}

void Table::requireWritable() const
{
    if (isReadOnly())
        throw DatabaseError(PlatformMessages::tableReadOnly(filePath(), readOnlyReason()));
}

void Table::close()
{
    if (!isActive())
        return;
    cancel();
    file_->detach(*this);
    file_.reset();
    rows_->clear();
    rowsLoaded_ = false;
    state_ = State::Inactive;
    current_ = -1;
    eof_ = bof_ = true;
    calcFor_ = RowRef();
    notifyDataSet();
    notifyState();
}

void Table::takeSharedRows()
{
    calcFor_ = RowRef();
    rows_->clear();
    rows_->setFiltered(filterOn_, acceptor());
    if (file_->isPartial()) {
        // Only the ends: the rows between them are counted, not held.
        rows_->load(file_->store(), file_->byRowId(), false, acceptor());
        rows_->setGap(int(file_->headRows()),
                      int(file_->partialCount() - qint64(file_->byRowId().size())));
        rowsLoaded_ = true;
        ++loads_;
        return;
    }
    // The whole read, or another component in the same order, gives the rows already sorted.
    const std::vector<quint32> *ordered = file_->presorted(order_.fields());
    for (const Table *other : file_->components()) {
        if (ordered)
            break;
        if (other != this && other->rowsLoaded_ && other->order_.fields() == order_.fields()) {
            ordered = &other->rows_->ordered();
            break;
        }
    }
    rows_->load(file_->store(), ordered ? *ordered : file_->byRowId(), ordered != nullptr,
                acceptor());
    rows_->adoptClasses(file_->presortedClasses());
    rowsLoaded_ = true;
    ++loads_;
}

void Table::reloadIfChangedElsewhere()
{
    file_->reloadIfChangedElsewhere();
}

void Table::sharedRowsChanging()
{
    keepSlot_ = currentSlot();
    keepRow_ = current_;
}

void Table::sharedRowLeaving(quint32 slot)
{
    rows_->takeOut(slot);
}

void Table::sharedRowArrived(quint32 slot)
{
    rows_->putIn(slot, acceptor());
}

void Table::sharedRowGone(quint32 slot)
{
    rows_->forget(slot);
    if (keepSlot_ == slot)
        keepSlot_ = RowStore::NoSlot;
}

void Table::sharedRowsChanged(bool origin)
{
    calcFor_ = RowRef();
    // The same row when it is still in view, else the same position (as after a delete).
    const int position = keepSlot_ != RowStore::NoSlot ? rows_->positionOf(keepSlot_) : -1;
    if (position >= 0)
        setCurrent(position);
    else
        setCurrent(viewSize() == 0 ? -1 : std::clamp(keepRow_, 0, viewSize() - 1));
    keepSlot_ = RowStore::NoSlot;
    insertRow_ = std::min(insertRow_, viewSize());
    if (viewSize() == 0)
        eof_ = bof_ = true;
    if (!origin)
        notifyDataSet();
}

void Table::sharedRowsDropped()
{
    keepValid_ = currentSlot() != RowStore::NoSlot;
    keepRowId_ = keepValid_ ? rows_->store().rowId(currentSlot()) : 0;
    rows_->clear();
    rowsLoaded_ = false;
    calcFor_ = RowRef();
}

void Table::sharedRowsCompleted()
{
    // What was held of the rows, by position, to be found at the same places in the whole.
    std::vector<std::pair<int, qint64>> held;
    const RowStore &ends = rows_->store();
    for (size_t i = 0; i < rows_->ordered().size(); ++i)
        held.emplace_back(rows_->positionOfHeld(int(i)), ends.rowId(rows_->ordered()[i]));
    const int count = rows_->storedCount();
    const bool known = current_ >= 0 && current_ < count && !rows_->inGap(current_);
    const qint64 currentId = known ? ends.rowId(rows_->at(current_)) : 0;
    takeSharedRows();
    bool same = rows_->storedCount() == count;
    for (size_t i = 0; same && i < held.size(); ++i)
        same = rows_->store().rowId(rows_->storedAt(held[i].first)) == held[i].second;
    if (!same) {
        // Another program wrote in between, or dates this program cannot read sorted the ends
        // apart: as after a read of every row, the same row when it is still there.
        const quint32 slot = known ? file_->find(currentId) : RowStore::NoSlot;
        const int position = slot != RowStore::NoSlot ? rows_->positionOf(slot) : -1;
        setCurrent(position >= 0 ? position
                                 : (viewSize() > 0 ? std::clamp(current_, 0, viewSize() - 1) : -1));
        insertRow_ = std::min(insertRow_, viewSize());
        eof_ = viewSize() == 0;
        bof_ = position <= 0;
    }
    // Told later, not from inside whatever needed the rows (a grid painting a row, a signal
    // handler): held rows kept their positions, so nothing shown is wrong meanwhile.
    // Not for rows since closed, or taken in whole again.
    QMetaObject::invokeMethod(
        this,
        [this, loads = loads_] {
            if (!isActive() || loads != loads_)
                return;
            notifyDataSet();
            Q_EMIT rowsCompleted();
        },
        Qt::QueuedConnection);
}

bool Table::rowsComplete() const
{
    return !file_ || !file_->isPartial();
}

void Table::needAllRows() const
{
    if (file_ && file_->isPartial())
        file_->completeRows();
}

bool Table::holdsRow(int position) const
{
    if (!rows_->inGap(position))
        return true;
    try {
        needAllRows();
    } catch (const DatabaseError &) {
        // Safe to ignore here: the rows are then gone from every component (an empty view),
        // and the next operation that reads the file says why.
    }
    return !rows_->inGap(position);
}

void Table::sharedRowsLoaded()
{
    takeSharedRows();
    const quint32 slot = keepValid_ ? file_->find(keepRowId_) : RowStore::NoSlot;
    const int position = slot != RowStore::NoSlot ? rows_->positionOf(slot) : -1;
    setCurrent(position >= 0 ? position : (viewSize() > 0 ? 0 : -1));
    insertRow_ = std::min(insertRow_, viewSize());
    eof_ = viewSize() == 0;
    bof_ = position <= 0;
    notifyDataSet();
}

std::function<bool(quint32)> Table::acceptor()
{
    if (!onFilterRecord)
        return [](quint32) { return true; };
    return [this](quint32 slot) {
        ActiveRecordScope scope(*this, RowRef(rows_->store(), slot));
        return onFilterRecord(*this);
    };
}

void Table::setFilterFields(const QStringList &names, FilterDates dates)
{
    std::vector<int> fields;
    for (const QString &name : names)
        fields.push_back(fieldByName(name).index());
    // More than a few: the filter then runs on every row, as undeclared.
    rows_->declareFilterFields({fields, dates == FilterDates::ByYear});
}

int Table::viewSize() const
{
    return rows_->size();
}

RowRef Table::viewRow(int i) const
{
    return i >= 0 && i < viewSize() && holdsRow(i) ? RowRef(rows_->store(), rows_->at(i))
                                                   : RowRef();
}

quint32 Table::currentSlot() const
{
    return current_ >= 0 && current_ < viewSize() && holdsRow(current_) ? rows_->at(current_)
                                                                        : RowStore::NoSlot;
}

RowRef Table::currentRow() const
{
    const quint32 slot = currentSlot();
    return slot == RowStore::NoSlot ? RowRef() : RowRef(rows_->store(), slot);
}

RowRef Table::activeRecord() const
{
    if (!explicitActive_.isNull())
        return explicitActive_;
    if (isEditing())
        return buffer_;
    return currentRow();
}

int Table::storedRowCount() const
{
    return rows_->storedCount();
}

void Table::setCurrent(int row)
{
    current_ = row;
}

void Table::first()
{
    requireActive();
    checkBrowseMode();
    reloadIfChangedElsewhere();
    setCurrent(viewSize() > 0 ? 0 : -1);
    bof_ = true;
    eof_ = viewSize() == 0;
    notifyRecord();
}

void Table::last()
{
    requireActive();
    checkBrowseMode();
    setCurrent(viewSize() - 1);
    eof_ = true;
    bof_ = viewSize() == 0;
    notifyRecord();
}

void Table::next()
{
    requireActive();
    checkBrowseMode();
    if (current_ + 1 < viewSize()) {
        setCurrent(current_ + 1);
        bof_ = eof_ = false;
        notifyRecord();
    } else {
        eof_ = true;
    }
}

void Table::prior()
{
    requireActive();
    checkBrowseMode();
    if (current_ > 0) {
        setCurrent(current_ - 1);
        bof_ = eof_ = false;
        notifyRecord();
    } else {
        bof_ = true;
    }
}

void Table::moveBy(int distance)
{
    requireActive();
    checkBrowseMode();
    if (viewSize() == 0)
        return;
    const int target = std::clamp(current_ + distance, 0, viewSize() - 1);
    bof_ = distance < 0 && target == 0 && current_ + distance < 0;
    eof_ = distance > 0 && target == viewSize() - 1 && current_ + distance >= viewSize();
    if (target != current_) {
        setCurrent(target);
        notifyRecord();
    }
}

void Table::moveToRow(int row)
{
    requireActive();
    if (state_ == State::Insert && row == insertRow_)
        return;
    // The row as shown now: posting may reorder the rows, so aim at the row itself.
    quint32 target = RowStore::NoSlot;
    if (row >= 0 && row < shownRowCount()) {
        const int inView = state_ == State::Insert && row > insertRow_ ? row - 1 : row;
        if (inView < viewSize() && holdsRow(inView))
            target = rows_->at(inView);
    }
    checkBrowseMode();
    if (target == RowStore::NoSlot)
        return;
    const int position = rows_->positionOf(target);
    if (position < 0 || position == current_)
        return;
    setCurrent(position);
    bof_ = eof_ = false;
    notifyRecord();
}

void Table::updateRecord()
{
    if (!isEditing() || updating_)
        return;
    const QScopedValueRollback updating(updating_, true);
    const auto hooks = updateHooks_; // a hook may remove itself
    for (const auto &[id, hook] : hooks)
        hook();
}

int Table::addUpdateHook(UpdateHook hook)
{
    updateHooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void Table::removeUpdateHook(int id)
{
    std::erase_if(updateHooks_, [id](const auto &entry) { return entry.first == id; });
}

void Table::checkBrowseMode()
{
    if (!isEditing())
        return;
    updateRecord();
    if (modified_)
        post();
    else
        cancel();
}

void Table::edit()
{
    requireActive();
    if (isEditing())
        return;
    requireWritable();
    if (viewSize() == 0) {
        insert();
        return;
    }
    buffer_ = rows_->store().record(currentSlot());
    editRowId_ = buffer_.rowId;
    state_ = State::Edit;
    modified_ = false;
    calcFor_ = RowRef();
    notifyState();
}

void Table::append()
{
    requireActive();
    requireWritable();
    checkBrowseMode();
    buffer_ = def_.newRecord();
    insertRow_ = viewSize();
    state_ = State::Insert;
    modified_ = false;
    calcFor_ = RowRef();
    notifyDataSet();
    notifyState();
}

void Table::insert()
{
    requireActive();
    requireWritable();
    checkBrowseMode();
    buffer_ = def_.newRecord();
    insertRow_ = std::max(current_, 0);
    state_ = State::Insert;
    modified_ = false;
    calcFor_ = RowRef();
    notifyDataSet();
    notifyState();
}

void Table::post()
{
    requireActive();
    if (!isEditing())
        return;
    updateRecord();
    for (int i = 0; i < def_.fieldCount(); ++i) {
        const FieldDef &f = def_.field(i);
        if (f.required && !f.calculated && !buffer_.has(i))
            throw DatabaseError(PlatformMessages::requiredField(f.label()));
    }
    if (beforePost)
        beforePost(*this);

    // Placed among every row.
    needAllRows();
    Record posted = buffer_;
    // The row edited, wherever posts through other components have moved it.
    const quint32 existing = state_ == State::Edit ? file_->find(editRowId_) : RowStore::NoSlot;
    const int previous = current_;
    try {
        if (state_ == State::Edit) {
            if (existing == RowStore::NoSlot)
                throw DatabaseError(PlatformMessages::recordVanished());
            posted.rowId = editRowId_;
            file_->storage().update(posted);
        } else {
            posted.rowId = file_->storage().insert(posted);
            if (def_.rowIdIndex() >= 0)
                posted.setNumber(def_.rowIdIndex(), posted.rowId);
        }
    } catch (const DatabaseError &e) {
        throw DatabaseError(PlatformMessages::diskWriteFailed(filePath(), e.message()));
    }
    placePosted(posted, existing, previous);
    leaveEditState();
    notifyDataSet();
    notifyState();
    if (afterPost)
        afterPost(*this);
}

void Table::placePosted(const Record &posted, quint32 existing, int previous)
{
    const quint32 placed = file_->placePosted(posted, existing, *this);
    calcFor_ = RowRef();
    const int position = rows_->positionOf(placed);
    if (position >= 0)
        setCurrent(position);
    else
        setCurrent(viewSize() == 0 ? -1 : std::clamp(previous, 0, viewSize() - 1));
    bof_ = eof_ = false;
}

void Table::leaveEditState()
{
    state_ = State::Browse;
    modified_ = false;
    insertRow_ = -1;
    buffer_ = Record();
    calcFor_ = RowRef();
}

void Table::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = state_ == State::Insert;
    leaveEditState();
    if (wasInsert)
        notifyDataSet();
    else
        notifyRecord();
    notifyState();
}

void Table::deleteRecord()
{
    requireActive();
    requireWritable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    needAllRows();
    if (currentSlot() == RowStore::NoSlot)
        throw DatabaseError(PlatformMessages::datasetEmpty());
    if (beforeDelete)
        beforeDelete(*this);
    const quint32 slot = currentSlot();
    if (slot == RowStore::NoSlot)
        return;
    try {
        file_->storage().remove(rows_->store().rowId(slot));
    } catch (const DatabaseError &e) {
        throw DatabaseError(PlatformMessages::diskWriteFailed(filePath(), e.message()));
    }
    file_->removeRow(slot, *this);
    calcFor_ = RowRef();
    if (current_ >= viewSize())
        setCurrent(viewSize() - 1);
    eof_ = viewSize() == 0;
    bof_ = viewSize() == 0;
    notifyDataSet();
    if (afterDelete)
        afterDelete(*this);
}

Field &Table::fieldByName(const QString &name)
{
    Field *f = findField(name);
    if (!f)
        throw DatabaseError(PlatformMessages::fieldNotFound(name));
    return *f;
}

Field *Table::findField(const QString &name)
{
    const int index = def_.indexOf(name);
    return index >= 0 ? fields_[size_t(index)].get() : nullptr;
}

void Table::forEachRowInView(const std::function<void()> &visit)
{
    requireActive();
    needAllRows();
    for (int i = 0; i < viewSize(); ++i) {
        ActiveRecordScope scope(*this, viewRow(i));
        visit();
    }
}

void Table::forEachStoredRow(const std::function<void()> &visit)
{
    requireActive();
    needAllRows();
    const RowStore &store = rows_->store();
    for (int i = 0; i < rows_->storedCount(); ++i) {
        ActiveRecordScope scope(*this, RowRef(store, rows_->storedAt(i)));
        visit();
    }
}

void Table::forEachStoredSlot(
    const std::function<void(const RowStore &, quint32 slot)> &visit) const
{
    requireActive();
    needAllRows();
    const RowStore &store = rows_->store();
    for (int i = 0; i < rows_->storedCount(); ++i)
        visit(store, rows_->storedAt(i));
}

void Table::setFiltered(bool on)
{
    if (!isActive()) {
        filterOn_ = on;
        return;
    }
    checkBrowseMode();
    needAllRows();
    const quint32 keep = currentSlot();
    filterOn_ = on;
    rows_->setFiltered(on, acceptor());
    const int position = keep != RowStore::NoSlot ? rows_->positionOf(keep) : -1;
    setCurrent(position >= 0 ? position : (viewSize() > 0 ? 0 : -1));
    bof_ = position <= 0;
    eof_ = viewSize() == 0;
    calcFor_ = RowRef();
    notifyDataSet();
}

void Table::refilter()
{
    if (filterOn_)
        setFiltered(true);
}

Bookmark Table::bookmark() const
{
    const quint32 slot = currentSlot();
    return slot != RowStore::NoSlot ? Bookmark{rows_->store().rowId(slot)} : Bookmark{};
}

bool Table::gotoBookmark(const Bookmark &bookmark)
{
    requireActive();
    checkBrowseMode();
    quint32 slot = bookmark.isValid() ? file_->find(bookmark.rowId) : RowStore::NoSlot;
    if (slot == RowStore::NoSlot && bookmark.isValid() && !rowsComplete()) {
        needAllRows();
        slot = file_->find(bookmark.rowId);
    }
    if (slot == RowStore::NoSlot)
        return false;
    const int position = rows_->positionOf(slot);
    if (position < 0)
        return false;
    if (position != current_) {
        setCurrent(position);
        notifyRecord();
    }
    bof_ = eof_ = false;
    return true;
}

void Table::writeCompanions(const std::function<void(SqliteDatabase &)> &work)
{
    requireActive();
    requireWritable();
    SqliteDatabase &db = file_->storage().database();
    db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    auto rollBack =
        qScopeGuard([&db] { sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr); });
    work(db);
    try {
        db.exec(QStringLiteral("COMMIT"));
    } catch (const DatabaseError &e) {
        throw DatabaseError(PlatformMessages::diskWriteFailed(filePath(), e.message()));
    }
    rollBack.dismiss();
    db.checkpoint();
}

void Table::copyTo(const QString &destinationPath)
{
    if (!isActive())
        open();
    file_->storage().copyTo(destinationPath);
}

void Table::addIndex(const QString &name, const QString &fields, IndexKind kind)
{
    const QStringList list = fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    TableStorage::addIndex(filePath(), def_,
                           kind == IndexKind::Primary ? def_.primaryIndexName() : name, list);
}

void Table::disableControls()
{
    ++disabled_;
}

void Table::enableControls()
{
    if (disabled_ == 0 || --disabled_ > 0)
        return;
    if (pendingDataSet_) {
        pendingDataSet_ = false;
        pendingRecord_ = false;
        Q_EMIT dataSetChanged();
    } else if (pendingRecord_) {
        pendingRecord_ = false;
        Q_EMIT recordChanged();
    }
}

void Table::notifyDataSet()
{
    if (disabled_ > 0)
        pendingDataSet_ = true;
    else
        Q_EMIT dataSetChanged();
}

void Table::notifyRecord()
{
    if (disabled_ > 0)
        pendingRecord_ = true;
    else
        Q_EMIT recordChanged();
}

void Table::notifyState()
{
    Q_EMIT stateChanged();
}

int Table::shownRowCount() const
{
    return viewSize() + (state_ == State::Insert ? 1 : 0);
}

int Table::shownCurrentRow() const
{
    return state_ == State::Insert ? insertRow_ : current_;
}

RowRef Table::shownRecord(int row) const
{
    if (state_ == State::Insert) {
        if (row == insertRow_)
            return buffer_;
        if (row > insertRow_)
            --row;
    } else if (state_ == State::Edit && row == current_) {
        return buffer_;
    }
    return row >= 0 && row < viewSize() ? viewRow(row) : RowRef();
}

QString Table::shownText(int row, int fieldIndex)
{
    const RowRef record = shownRecord(row);
    if (record.isNull())
        return QString();
    ActiveRecordScope scope(*this, record);
    return field(fieldIndex).displayText();
}

const Record &Table::calculatedRecord()
{
    ensureCalculated();
    return calc_;
}

QVariant Table::activeValue(int fieldIndex)
{
    const RowRef record = recordFor(fieldIndex);
    return record.isNull() ? QVariant() : def_.valueOf(record, fieldIndex);
}

void Table::ensureCalculated()
{
    const RowRef record = activeRecord();
    if (calculating_ || (!record.isNull() && calcFor_ == record))
        return;
    calc_ = def_.newRecord();
    calcFor_ = record;
    if (record.isNull() || !onCalcFields)
        return;
    const QScopedValueRollback calculating(calculating_, true);
    // A handler that fails leaves no half-calculated record behind: the next read tries again.
    auto forget = qScopeGuard([this] { calcFor_ = RowRef(); });
    onCalcFields(*this);
    forget.dismiss();
}

void Table::setActiveValue(int fieldIndex, const QVariant &value)
{
    const FieldDef &f = def_.field(fieldIndex);
    if (f.calculated) {
        if (!calculating_)
            throw DatabaseError(PlatformMessages::readOnlyField(f.label()));
        def_.store(calc_, fieldIndex, value);
        return;
    }
    if (!isEditing() || !explicitActive_.isNull())
        throw DatabaseError(PlatformMessages::notEditing());
    if (f.kind == FieldKind::AutoIncrement)
        throw DatabaseError(PlatformMessages::readOnlyField(f.label()));
    const QVariant old = def_.valueOf(buffer_, fieldIndex);
    if (old.isValid() == value.isValid() && old == value)
        return;
    def_.store(buffer_, fieldIndex, value);
    modified_ = true;
    calcFor_ = RowRef();
    if (disabled_ != 0)
        return;
    Q_EMIT fieldChanged(fieldIndex);
    // The calculated values follow the record being edited: their controls show them anew.
    for (size_t i = 0; i < calculated_.size(); ++i) {
        if (calculated_[i])
            Q_EMIT fieldChanged(int(i));
    }
}
