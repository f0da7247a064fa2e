// Measures the register over large tables: open with the first totals, totals, a filter switch,
// one post, one batch copy and peak memory, each also as a ratio to a plain summing loop over
// the same number of rows in memory. Then the table store alone, without the totals: open, the
// memory its rows take (bytes a row), a rebuild of the view with the filter declared to read
// two fields and with the plain filter, and a post. Every size runs in a child process so that
// its peak memory is its own. Last, the search over the whole register ("Rechercher..."), every
// entry carrying a note of its own: the first search of a window (each text folded as it is
// first met) and the next ones.
#include "BenchRegister.h"

#include "platform/core/Today.h"
#include "platform/store/Table.h"
#include "register/CareRegister.h"
#include "register/CareSearch.h"
#include "register/PlainSelectors.h"
#include "tables/CareEntryTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

const QStringList Names{"PAUL", "MARIE", "JEAN", "LUCIE", "ÉLODIE"};

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

template <typename Work> double bestOf(int runs, Work work)
{
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, double(timer.nsecsElapsed()) / 1e6);
    }
    return fastest;
}

void storeAlone(int rows)
{
    Today::pinForTesting(QDate(2026, 12, 8));
    const QString folder = BenchRegister::cachedProgramDirectory(rows);
    Table table(CareEntryTable::definition());
    table.setDatabaseName(folder);
    table.setIndexFieldNames(CareEntryTable::indexFieldNames());
    PlainSelectors selectors;
    selectors.beneficiaries = QStringList{"TOUS"} + Names;
    CareRegister reg(table, selectors);
    table.afterOpen = table.afterPost = nullptr; // the totals are not the store's
    const double before = residentMegabytes();
    table.open();
    const double bytesPerRow = (residentMegabytes() - before) * 1048576.0 / std::max(rows, 1);
    table.close();
    const double open = bestOf(3, [&] {
        table.close();
        table.open();
    });
    table.setFiltered(true);
    int round = 0;
    const auto switchView = [&] {
        selectors.beneficiaryIndex = 1 + round % Names.size();
        selectors.yearIndex = 1 + round++ % 20;
        table.refilter();
    };
    const double declared = bestOf(5, switchView);
    table.setFilterFields({});
    const double plain = bestOf(3, switchView);
    table.setFiltered(false);
    Field &cost = table.fieldByName(CareFields::Cout);
    const double post = bestOf(5, [&] {
        table.last();
        table.edit();
        cost.setAsCents(cost.asCents() + 1);
        table.post();
    });
    std::printf("| %d | %.1f | %.0f | %.1f | %.1f | %.1f | %.0f |\n", rows, open, bytesPerRow,
                declared, plain, post, BenchRegister::peakMegabytes());
}

// Processor time of this thread: what a search costs when other work shares the machine.
double threadCpuMillis()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void searchAlone(int rows)
{
    Today::pinForTesting(QDate(2026, 12, 8));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TALO.DB"));
    BenchRegister::fill(path, rows);
    // A note of its own on every entry, accents included: the most texts a search can meet.
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "UPDATE TALO SET \"Note soins\" = 'Séance n° ' || Numero || ', à revoir'",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Table table(CareEntryTable::definition());
    table.setDatabaseName(dir.path());
    table.setIndexFieldNames(CareEntryTable::indexFieldNames());
    table.open();
    for (const char *typed : {"élodie", "docteur 12", "12,5", "03/2024", "revoir 2024", "zzz"}) {
        const CareSearchQuery query = CareSearchQuery::parse(QString::fromUtf8(typed));
        size_t found = 0;
        double firstCpu = 1e9;
        const double first = bestOf(3, [&] {
            const double start = threadCpuMillis();
            CareSearch search(table);
            found = search.find(query).size();
            firstCpu = std::min(firstCpu, threadCpuMillis() - start);
        });
        CareSearch search(table);
        search.find(query);
        double nextCpu = 1e9;
        const double next = bestOf(5, [&] {
            const double start = threadCpuMillis();
            search.find(query);
            nextCpu = std::min(nextCpu, threadCpuMillis() - start);
        });
        std::printf("| %d | %s | %zu | %.1f (%.1f) | %.1f (%.1f) |\n", rows, typed, found, first,
                    firstCpu, next, nextCpu);
    }
}

template <typename Run> void inChild(int size, Run run)
{
    fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        run(size);
        fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        QTextStream(stderr) << "size " << size << " failed\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> sizes{10'000, 100'000, 1'000'000};
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty()) {
        sizes.clear();
        for (const QString &a : args)
            sizes.append(a.toInt());
    }
    BenchRegister::printHeader();
    for (int size : sizes)
        inChild(size, BenchRegister::run);
    std::printf("\n| rows | store open (ms) | bytes a row | view rebuild, filter reads two "
                "fields (ms) | view rebuild, plain filter (ms) | post, no totals (ms) | peak "
                "memory (MB) |\n|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int size : sizes)
        inChild(size, storeAlone);
    std::printf(
        "\n| rows | typed | entries found | first search of a window (ms, processor) | next "
        "searches (ms, processor) |\n|---:|---|---:|---:|---:|\n");
    for (int size : sizes)
        inChild(size, searchAlone);
    return 0;
}
