#include "BackgroundRows.h"

#include "DatabaseError.h"
#include "RankedOrder.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"

#include <atomic>
#include <chrono>

namespace
{
std::atomic<int> startDelayMs = 0;
}

void BackgroundRows::setStartDelayForTesting(int milliseconds)
{
    startDelayMs = milliseconds;
}

BackgroundRows::BackgroundRows(const TableDefinition &definition, const QString &path,
                               RowReader reader, QString table, RecordOrder order,
                               FilterFields classes, std::function<void()> whenDone)
    : def_(definition), path_(path), reader_(std::move(reader)), table_(std::move(table)),
      order_(std::move(order)), classes_(std::move(classes)), whenDone_(std::move(whenDone)),
      thread_([this] { run(); })
{
}

BackgroundRows::~BackgroundRows()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

BackgroundRows::Rows BackgroundRows::take()
{
    if (thread_.joinable())
        thread_.join();
    return std::move(rows_);
}

void BackgroundRows::run()
{
    // Tests start the read late, so that gestures land before every row is in.
    for (int wait = startDelayMs; wait > 0 && !stop_; wait -= 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto store = std::make_unique<RowStore>(def_);
    try {
        SqliteDatabase db(path_, SqliteDatabase::Mode::Reader);
        // One statement is one read transaction: the rows are those of one moment.
        SqliteStatement st(db.handle(), reader_.select(table_));
        if (reader_.read(st, *store, &stop_)) {
            std::vector<quint32> byRowId = store->slotsByRowId();
            std::vector<quint32> ordered = byRowId;
            RankedOrder(order_, *store).sort(ordered);
            // A component closed meanwhile waits for none of what follows.
            if (stop_)
                throw DatabaseError(QStringLiteral("Lecture interrompue."));
            if (FilterMemo::keepsClassesOf(classes_)) {
                rows_.classes = std::make_unique<FilterMemo>(*store, classes_);
                rows_.classes->classifyAll();
            }
            rows_.byRowId = std::move(byRowId);
            rows_.ordered = std::move(ordered);
            rows_.store = std::move(store);
        } else {
            rows_.error = QStringLiteral("Lecture interrompue.");
        }
    } catch (const DatabaseError &e) {
        rows_.error = e.message();
    } catch (const std::bad_alloc &) {
        rows_.error = QStringLiteral("Mémoire insuffisante.");
    }
    if (whenDone_ && !stop_)
        whenDone_();
}
