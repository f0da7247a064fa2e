#include "BenchRegister.h"

#include "app/ProgramDirectory.h"
#include "platform/core/SideFile.h"
#include "platform/core/Today.h"
#include "platform/store/BatchMove.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "tables/CareEntryTable.h"
#include "register/CareRegister.h"
#include "register/PlainSelectors.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace CareFields;

namespace
{

const QStringList Names{"PAUL", "MARIE", "JEAN", "LUCIE", "ÉLODIE"};

double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

template <typename Work> double timed(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return millis(timer);
}

// The reference: the same four sums over plain structs in memory.
double plainLoop(int rows)
{
    struct Amounts {
        qint64 cost, cpam, mutual, estimate;
    };
    std::vector<Amounts> data(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        data[size_t(i)] = {i % 9000, i % 6000, i % 3000, i % 100};
    volatile qint64 sink = 0;
    double best = 1e9;
    for (int repeat = 0; repeat < 5; ++repeat) {
        best = std::min(best, timed([&] {
                            qint64 a = 0, b = 0, c = 0, d = 0;
                            for (const Amounts &x : data) {
                                a += x.cost;
                                b += x.cpam;
                                c += x.mutual;
                                d += x.estimate;
                            }
                            sink = a + b + c + d;
                        }));
    }
    (void)sink;
    return best;
}

// The best time of `runs` runs of `work`, each after an untimed `setup`.
template <typename Work, typename Setup = void (*)()>
double best(
    int runs, Work work, Setup setup = [] {})
{
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        setup();
        fastest = std::min(fastest, timed(work));
    }
    return fastest;
}

} // namespace

double BenchRegister::peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QString BenchRegister::cachedProgramDirectory(int rows)
{
    // The version in the name changes whenever fill() writes other rows.
    const QString folder = QDir::temp().filePath(QStringLiteral("talo-bench-v1-%1").arg(rows));
    const QString table = QDir(folder).filePath(QStringLiteral("TALO.DB"));
    if (QFileInfo::exists(table))
        return folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    fill(table, rows);
    ProgramDirectory::provision(folder);
    SideFile::writeLines(QDir(folder).filePath(QStringLiteral("LSTBENEF.LST")),
                         QStringList{QStringLiteral("TOUS")} + Names);
    return folder;
}

double BenchRegister::sqliteReadMillis(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    double fastest = 1e9;
    for (int run = 0; run < 3; ++run) {
        fastest = std::min(fastest, timed([db] {
                               sqlite3_stmt *st = nullptr;
                               sqlite3_prepare_v2(db, "SELECT * FROM TALO", -1, &st, nullptr);
                               volatile qint64 sink = 0;
                               while (sqlite3_step(st) == SQLITE_ROW) {
                                   for (int c = 0; c < sqlite3_column_count(st); ++c) {
                                       switch (sqlite3_column_type(st, c)) {
                                       case SQLITE_TEXT:
                                           sink = sink + sqlite3_column_text(st, c)[0];
                                           break;
                                       case SQLITE_FLOAT:
                                           sink = sink + qint64(sqlite3_column_double(st, c));
                                           break;
                                       default:
                                           sink = sink + sqlite3_column_int64(st, c);
                                       }
                                   }
                               }
                               sqlite3_finalize(st);
                           }));
    }
    sqlite3_close(db);
    return fastest;
}

void BenchRegister::fill(const QString &path, int rows)
{
    TableStorage::createFile(path, CareEntryTable::definition());
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO TALO (\"Date soins\", Beneficiaire, Medecin, Specialite, "
                       "Paiement, Cout, \"Date CPAM\", Base, \"Montant CPAM\", \"CPAM oui/non\", "
                       "\"Montant mutuelle\", \"Mutuelle oui/non\", Estimation) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &st, nullptr);
    QRandomGenerator random(42);
    const QDate start(1995, 1, 1);
    const int days = int(start.daysTo(QDate(2026, 12, 1)));
    for (int i = 0; i < rows; ++i) {
        const QByteArray date =
            start.addDays(qint64(i) * days / rows).toString(Qt::ISODate).toUtf8();
        const QByteArray name = Names[random.bounded(Names.size())].toUtf8();
        const QByteArray doctor = QStringLiteral("DOCTEUR %1").arg(random.bounded(60)).toUtf8();
        const double cost = random.bounded(2000, 15000) / 100.0;
        const bool partial = random.bounded(10) == 0;
        sqlite3_bind_text(st, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, doctor.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, "Médecine Générale", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 5, "Chèque", -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 6, cost);
        sqlite3_bind_text(st, 7, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 8, cost);
        sqlite3_bind_double(st, 9, std::round(cost * 70) / 100.0);
        sqlite3_bind_text(st, 10, "Faux", -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 11, std::round(cost * 20) / 100.0);
        sqlite3_bind_text(st, 12, partial ? "Vrai" : "Faux", -1, SQLITE_STATIC);
        if (partial)
            sqlite3_bind_double(st, 13, cost);
        else
            sqlite3_bind_null(st, 13);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void BenchRegister::printHeader()
{
    std::printf("| rows | plain loop (ms) | open + totals (ms) | totals (ms) | filter switch (ms) "
                "| post (ms) | batch copy (ms) | peak memory (MB) |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
}

void BenchRegister::run(int rows)
{
    Today::pinForTesting(QDate(2026, 12, 8));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTemporaryDir dir, backup;
    fill(dir.filePath("TALO.DB"), rows);
    const double baseMemory = peakMegabytes();
    const double plain = plainLoop(rows);

    Table table(CareEntryTable::definition());
    table.setDatabaseName(dir.path());
    table.setIndexFieldNames(CareEntryTable::indexFieldNames());
    PlainSelectors selectors;
    selectors.beneficiaries = QStringList{"TOUS"} + Names;
    CareRegister reg(table, selectors);

    // Each figure is the best of several runs: the machine is shared, and the best run is the
    // one least disturbed by others.
    double open = 1e9;
    for (int i = 0; i < 5; ++i) {
        table.close();
        open = std::min(open, timed([&] { table.open(); }));
    }
    const double totals = best(20, [&] { reg.TableTousAfterOpen(); });
    const int year2024 = int(selectors.years.indexOf("2024"));
    const auto showAll = [&] {
        selectors.beneficiaryIndex = 0;
        selectors.yearIndex = 0;
        reg.lstListeBeneficiairesClick();
    };
    const double filter = best(
        10,
        [&] {
            selectors.beneficiaryIndex = 2;
            selectors.yearIndex = year2024;
            reg.lstListeBeneficiairesClick();
        },
        showAll);
    showAll();
    table.last();
    int amount = 1000;
    const double post = best(10, [&] {
        table.edit();
        table.fieldByName(MontantMutuelle).setAsCents(amount++);
        table.post();
    });
    Table copy(CareEntryTable::definition());
    copy.setDatabaseName(backup.path());
    const double batch = best(3, [&] { BatchMove(table, copy).execute(); });
    const double memory = peakMegabytes();

    auto cell = [plain](double ms) {
        return QStringLiteral("%1 (×%2)").arg(ms, 0, 'f', 1).arg(ms / plain, 0, 'f', 0);
    };
    std::printf("| %d | %.2f | %s | %s | %s | %s | %s | %.0f (table %.0f) |\n", rows, plain,
                qPrintable(cell(open)), qPrintable(cell(totals)), qPrintable(cell(filter)),
                qPrintable(cell(post)), qPrintable(cell(batch)), memory, memory - baseMemory);
}
