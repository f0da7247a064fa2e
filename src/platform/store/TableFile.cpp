#include "TableFile.h"

#include "BackgroundRows.h"
#include "FilterMemo.h"
#include "RecordOrder.h"
#include "Table.h"
#include "TableStorage.h"

#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>

#include <algorithm>
#include <optional>
#include <sys/stat.h>

namespace
{

// Open files by canonical path and layout of the definition: components agree on the store's
// layout only when they agree on the fields.
QHash<QString, std::weak_ptr<TableFile>> &openFiles()
{
    static QHash<QString, std::weak_ptr<TableFile>> files;
    return files;
}

QString layoutOf(const TableDefinition &definition)
{
    QString layout = definition.sqlName();
    for (const FieldDef &f : definition.fields())
        layout += QStringLiteral("|%1:%2:%3").arg(f.name).arg(int(f.kind)).arg(f.calculated);
    return layout;
}

// The file's canonical path and its number on its device: a file replaced under the same name
// (renamed over) is another file, which components opening it read while those open on the
// old one keep theirs, as with connections of their own.
QString identityOf(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    struct stat status = {};
    if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1\n%2:%3")
        .arg(canonical)
        .arg(quint64(status.st_dev))
        .arg(quint64(status.st_ino));
}

} // namespace

TableFile::TableFile(const TableDefinition &definition, const QString &path)
    : def_(definition), storage_(std::make_unique<TableStorage>(def_, path)),
      store_(std::make_unique<RowStore>(def_))
{
}

TableFile::~TableFile()
{
    background_.reset();
    if (!key_.isEmpty())
        openFiles().remove(key_);
}

std::shared_ptr<TableFile> TableFile::attach(const TableDefinition &definition, const QString &path,
                                             Table &component, const EarlyOpen *early)
{
    const QString identity = identityOf(path);
    const QString key = identity.isEmpty() ? QString() : identity + u'\n' + layoutOf(definition);
    std::shared_ptr<TableFile> file = key.isEmpty() ? nullptr : openFiles().value(key).lock();
    if (file) {
        // Components over part of the rows are one too many to keep apart.
        file->completeRows();
        file->reloadIfChangedElsewhere();
    } else {
        file.reset(new TableFile(definition, path));
        if (early)
            file->loadEarly(*early);
        else
            file->load();
        if (!key.isEmpty()) {
            file->key_ = key;
            openFiles().insert(key, file);
        }
    }
    file->components_.push_back(&component);
    return file;
}

void TableFile::detach(Table &component)
{
    std::erase(components_, &component);
}

void TableFile::load()
{
    background_.reset();
    partial_ = false;
    presorted_ = {};
    store_ = std::make_unique<RowStore>(def_);
    byRowId_ = {};
    // A load that fails leaves no rows rather than half of them.
    auto clear = qScopeGuard([this] { store_->clear(); });
    storage_->loadAll(*store_);
    clear.dismiss();
    byRowId_ = store_->slotsByRowId();
    ++loads_;
}

void TableFile::loadEarly(const EarlyOpen &early)
{
    const std::vector<int> &fields = early.order.fields();
    const bool byDate = !fields.empty() && early.order.kinds().front() == FieldKind::Date;
    // Read-only files are read whole: a second connection could not share their log.
    std::optional<TableStorage::EndRows> ends;
    if (byDate && !storage_->isReadOnly())
        ends = storage_->readEnds(*store_, fields.front(), early.rows);
    if (!ends) {
        load();
        return;
    }
    byRowId_ = store_->slotsByRowId();
    partial_ = true;
    partialCount_ = ends->count;
    headRows_ = ends->headRows;
    ++loads_;
    background_ = std::make_unique<BackgroundRows>(
        def_, storage_->path(), storage_->reader(), TableDefinition::quoted(storage_->sqlTable()),
        early.order, early.filter, [this] {
            QMetaObject::invokeMethod(
                &mailbox_, [this] { completeRows(); }, Qt::QueuedConnection);
        });
}

const std::vector<quint32> *TableFile::presorted(const std::vector<int> &orderFields) const
{
    return !presorted_.empty() && orderFields == presortedFields_ ? &presorted_ : nullptr;
}

void TableFile::completeRows()
{
    if (!partial_)
        return;
    BackgroundRows::Rows rows = background_->take();
    const std::vector<int> fields = background_->order().fields();
    background_.reset();
    if (!rows.store) {
        // What the second thread could not read (a lock, memory) is read here, or refused here.
        reload();
        return;
    }
    // The components compare what they held with the whole before the ends go.
    const std::unique_ptr<RowStore> ends = std::move(store_);
    store_ = std::move(rows.store);
    byRowId_ = std::move(rows.byRowId);
    presortedFields_ = fields;
    presorted_ = std::move(rows.ordered);
    presortedClasses_ = std::move(rows.classes);
    partial_ = false;
    ++loads_;
    const auto forget = qScopeGuard([this] {
        presorted_ = {};
        presortedClasses_.reset();
    });
    forEach([](Table &c) { c.sharedRowsCompleted(); });
}

void TableFile::reloadIfChangedElsewhere()
{
    // Taken in with every row, or after them: the second thread may already hold the change.
    if (!partial_ && storage_->changedElsewhere())
        reload();
}

void TableFile::forEach(const std::function<void(Table &)> &tell)
{
    // A component's signal handler may close another one: each is looked for again.
    const auto components = components_;
    for (Table *c : components) {
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            tell(*c);
    }
}

void TableFile::reload()
{
    background_.reset();
    partial_ = false;
    forEach([](Table &c) { c.sharedRowsDropped(); });
    auto tell = qScopeGuard([this] { forEach([](Table &c) { c.sharedRowsLoaded(); }); });
    load();
}

size_t TableFile::firstWithRowId(qint64 rowId) const
{
    return size_t(std::lower_bound(byRowId_.begin(), byRowId_.end(), rowId,
                                   [this](quint32 a, qint64 id) { return store_->rowId(a) < id; }) -
                  byRowId_.begin());
}

quint32 TableFile::find(qint64 rowId) const
{
    const size_t at = firstWithRowId(rowId);
    return at < byRowId_.size() && store_->rowId(byRowId_[at]) == rowId ? byRowId_[at]
                                                                        : RowStore::NoSlot;
}

quint32 TableFile::placePosted(const Record &posted, quint32 existing, const Table &origin)
{
    forEach([](Table &c) { c.sharedRowsChanging(); });
    quint32 slot = existing;
    if (existing != RowStore::NoSlot) {
        // Taken out under its old key, given its new values, put back in order.
        forEach([existing](Table &c) { c.sharedRowLeaving(existing); });
        store_->assign(existing, posted);
    } else {
        slot = store_->add(posted);
        // New identities are the highest so far: this is an append in practice.
        const qint64 id = store_->rowId(slot);
        byRowId_.insert(
            std::upper_bound(byRowId_.begin(), byRowId_.end(), id,
                             [this](qint64 key, quint32 b) { return key < store_->rowId(b); }),
            slot);
    }
    forEach([slot](Table &c) { c.sharedRowArrived(slot); });
    forEach([&origin](Table &c) { c.sharedRowsChanged(&c == &origin); });
    return slot;
}

void TableFile::removeRow(quint32 slot, const Table &origin)
{
    forEach([](Table &c) { c.sharedRowsChanging(); });
    forEach([slot](Table &c) { c.sharedRowLeaving(slot); });
    const auto byId = std::find(byRowId_.begin() + qsizetype(firstWithRowId(store_->rowId(slot))),
                                byRowId_.end(), slot);
    if (byId != byRowId_.end())
        byRowId_.erase(byId);
    store_->release(slot);
    forEach([slot](Table &c) { c.sharedRowGone(slot); });
    forEach([&origin](Table &c) { c.sharedRowsChanged(&c == &origin); });
}
