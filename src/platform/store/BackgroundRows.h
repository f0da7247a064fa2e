#pragma once

#include "FilterMemo.h"
#include "RecordOrder.h"
#include "RowReader.h"
#include "RowStore.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// Every row of a table file read on a second thread, through a read-only connection of its
// own, into a store of its own, with the rows by identity and in one index order: what the
// window thread then takes over whole. Touches nothing of the window thread's until taken.
class BackgroundRows
{
public:
    struct Rows {
        std::unique_ptr<RowStore> store;
        std::vector<quint32> byRowId;
        std::vector<quint32> ordered;        // in `order`
        std::unique_ptr<FilterMemo> classes; // of every row, for the filter fields given
        QString error;                       // the French reason when the read failed
    };

    // `whenDone` runs on the second thread once the rows are read (or the read failed).
    // `classes`: the fields whose filter classes are worked out with the rows.
    BackgroundRows(const TableDefinition &definition, const QString &path, RowReader reader,
                   QString table, RecordOrder order, FilterFields classes,
                   std::function<void()> whenDone);
    // Stops the read and waits for the thread.
    ~BackgroundRows();
    BackgroundRows(const BackgroundRows &) = delete;
    BackgroundRows &operator=(const BackgroundRows &) = delete;

    const RecordOrder &order() const { return order_; }
    // Waits for the read to end and hands its rows over.
    Rows take();

    // Test hook: every read starts that many milliseconds late (0: at once).
    static void setStartDelayForTesting(int milliseconds);

private:
    void run();

    const TableDefinition &def_;
    QString path_;
    RowReader reader_;
    QString table_; // quoted
    RecordOrder order_;
    FilterFields classes_;
    std::function<void()> whenDone_;
    Rows rows_;
    std::atomic<bool> stop_ = false;
    std::thread thread_; // last: started once everything above is set
};
