// The program as the user meets it, at 0, 100,000 (and on request 1,000,000) entries: start to
// the main window shown with its totals (every window created, as the program does), every row
// in after it (read on a second thread), a change of year made at once before they are, the first
// start on a copy of the register without its stored sums (they are built then), a change
// of view through the selectors, a post, the care list preview up to its first page shown, a
// change of view after it, every other window opened, and peak memory. Every action is timed
// the first time a fresh process does it, as a person meets it; each size runs in three fresh
// processes (one at 1,000,000) and the median of their first runs is given. Floors measured in the
// same run: the start over an empty register, and every row of the same TALO.DB read with SQLite
// alone; each figure is also given as a ratio to one of them. Runs on the offscreen platform unless
// a display is asked for.
#include "BenchMeasure.h"
#include "BenchProgram.h"
#include "BenchRegister.h"

#include "app/TFrmPrincipale.h"
#include "platform/store/Field.h"
#include "platform/store/Table.h"
#include "platform/widgets/ReportCommand.h"
#include "tables/CareEntryTable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace
{

struct Figures {
    double start = 0, yearSwitch = 1e9, beneficiarySwitch = 1e9, post = 1e9, preview = 1e9;
    double viewAfterPreview = 1e9, windows = 1e9;
    // Every row in after the start (read on a second thread while the window shows), and a
    // change of year made at once, before they are.
    double allRows = 1e9, yearAtOnce = 1e9;
    double startMegabytes = 0, previewMegabytes = 0, windowsMegabytes = 0;
};

// Opens a window through its command, as its menu item does, and closes it as soon as it
// shows, and any message or modal window it opens on the way.
double openAndClose(TFrmPrincipale &main, const std::function<void()> &open)
{
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(5);
    QElapsedTimer timer;
    timer.start();
    open();
    QCoreApplication::processEvents();
    const double ms = BenchMeasure::millis(timer);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != &main && window->isVisible())
            window->close();
    QCoreApplication::processEvents();
    return ms;
}

// The preview up to its first page shown; the dialog is closed as soon as it runs.
double previewFirstPage(TFrmPrincipale &window)
{
    QElapsedTimer timer;
    double shown = 0;
    QTimer::singleShot(0, [&] {
        QCoreApplication::processEvents();
        shown = BenchMeasure::millis(timer);
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    timer.start();
    window.btnImprimerClick(ReportCommand::Output::Preview);
    return shown;
}

enum class Run { Whole, StartOnly, YearAtOnce };

Figures measure(const QString &folder, int rows, Run run)
{
    Figures f;
    QElapsedTimer timer;
    timer.start();
    BenchProgram program("talo-bench-window", folder);
    if (!program.started())
        return f;
    f.start = BenchMeasure::millis(timer);
    f.startMegabytes = BenchRegister::peakMegabytes();
    if (run == Run::StartOnly)
        return f;

    TFrmPrincipale &window = program.window();
    auto *years = window.findChild<QComboBox *>(QStringLiteral("lstListeAnnee"));
    auto *names = window.findChild<QComboBox *>(QStringLiteral("lstListeBeneficiaires"));
    if (run == Run::YearAtOnce) {
        f.yearAtOnce = BenchMeasure::choose(*years, QStringLiteral("2024"));
        return f;
    }
    // The window waits for events while the rows come in, as it does before a first click.
    while (!window.tableTous().rowsComplete())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    f.allRows = BenchMeasure::millis(timer);
    f.yearSwitch = BenchMeasure::choose(*years, QStringLiteral("2024"));
    f.beneficiarySwitch = BenchMeasure::choose(*names, QStringLiteral("PAUL"));
    BenchMeasure::choose(*names, QStringLiteral("TOUS"));
    BenchMeasure::choose(*years, QStringLiteral("TOUTES"));
    if (rows > 0) {
        Table &table = window.tableTous();
        Field &cost = table.fieldByName(CareFields::Cout);
        table.last();
        QElapsedTimer posting;
        posting.start();
        table.edit();
        cost.setAsCents(cost.asCents() + 1);
        table.post();
        QCoreApplication::processEvents();
        f.post = BenchMeasure::millis(posting);
    }
    f.preview = previewFirstPage(window);
    f.viewAfterPreview = BenchMeasure::choose(*years, QStringLiteral("2024"));
    BenchMeasure::choose(*years, QStringLiteral("TOUTES"));
    f.previewMegabytes = BenchRegister::peakMegabytes();

    // Every other window the menus open (the file dialogs of export, restore and statement
    // import aside).
    const QList<std::function<void()>> opens{
        [&] { window.btnInformationsClick(); }, [&] { window.BtnMedecinsClick(); },
        [&] { window.btnListeBenefClick(); },   [&] { window.btnSauvegarderClick(); },
        [&] { window.mnuPasseClick(); },        [&] { window.mnuAproposClick(); },
        [&] { window.mnuSuiviClick(); },        [&] { window.mnuBilanClick(); },
        [&] { window.mnuRechercherClick(); }};
    f.windows = 0;
    for (const auto &open : opens)
        f.windows += openAndClose(window, open);
    f.windowsMegabytes = BenchRegister::peakMegabytes();
    return f;
}

Figures measureInChild(const QString &folder, int rows, Run run = Run::Whole)
{
    return BenchMeasure::inChild([&] { return measure(folder, rows, run); }, Figures{},
                                 QStringLiteral("%1 entries").arg(rows));
}

// A copy of the program directory whose TALO.DB has lost its sums and their triggers, as a
// register written by an earlier version or by another program.
bool copyWithoutStoredSums(const QString &folder, const QTemporaryDir &copy)
{
    const QDir from(folder);
    for (const QString &name : from.entryList(QDir::Files)) {
        if (!QFile::copy(from.filePath(name), QDir(copy.path()).filePath(name)))
            return false;
    }
    sqlite3 *db = nullptr;
    const QByteArray path = QDir(copy.path()).filePath(QStringLiteral("TALO.DB")).toUtf8();
    const bool dropped =
        sqlite3_open(path.constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db,
                     "DROP TRIGGER TALO_TOTAUX_AJOUT; DROP TRIGGER TALO_TOTAUX_SUPPRESSION; "
                     "DROP TRIGGER TALO_TOTAUX_MODIFICATION; DROP TABLE TALO_TOTAUX; VACUUM;",
                     nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return dropped;
}

// The median, field by field, of the figures of several processes.
Figures median(QList<Figures> runs)
{
    Figures m;
    for (double Figures::*field :
         {&Figures::start, &Figures::allRows, &Figures::yearAtOnce, &Figures::yearSwitch,
          &Figures::beneficiarySwitch, &Figures::post, &Figures::preview,
          &Figures::viewAfterPreview, &Figures::windows, &Figures::startMegabytes,
          &Figures::previewMegabytes, &Figures::windowsMegabytes}) {
        std::sort(runs.begin(), runs.end(),
                  [&](const Figures &a, const Figures &b) { return a.*field < b.*field; });
        m.*field = runs[runs.size() / 2].*field;
    }
    return m;
}

QString cell(double ms, double floor)
{
    if (ms >= 1e9 || floor <= 0)
        return QStringLiteral("%1").arg(ms >= 1e9 ? QStringLiteral("–")
                                                  : QString::number(ms, 'f', 1));
    return QStringLiteral("%1 (×%2)").arg(ms, 0, 'f', 1).arg(ms / floor, 0, 'f', 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QList<int> sizes{0, 100'000};
    if (argc > 1) {
        sizes = {0};
        for (int i = 1; i < argc; ++i)
            sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    }
    std::printf("| entries | SQLite reads every row (ms) | start (ms, ×empty start) | every row "
                "in (ms after start) | change of year at once (ms) | change of "
                "year (ms, ×SQLite) | change of beneficiary (ms, ×SQLite) | post (ms, ×SQLite) | "
                "preview first page (ms, ×SQLite) | change of year after it (ms) | every other "
                "window opened (ms) | peak memory MB (start / after preview / after every "
                "window) |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    QStringList firstStarts;
    double emptyStart = 0;
    for (int rows : sizes) {
        const QString folder = BenchRegister::cachedProgramDirectory(rows);
        const double floor =
            BenchRegister::sqliteReadMillis(QDir(folder).filePath(QStringLiteral("TALO.DB")));
        QList<Figures> runs;
        for (int i = 0; i < (rows >= 1'000'000 ? 1 : 3); ++i)
            runs.append(measureInChild(folder, rows));
        Figures f = median(runs);
        f.yearAtOnce = measureInChild(folder, rows, Run::YearAtOnce).yearAtOnce;
        if (rows == 0)
            emptyStart = f.start;
        double first = 1e9;
        for (int i = 0; i < 3; ++i) {
            const QTemporaryDir copy;
            if (copyWithoutStoredSums(folder, copy))
                first = std::min(first, measureInChild(copy.path(), rows, Run::StartOnly).start);
        }
        firstStarts.append(QStringLiteral("| %1 | %2 | %3 |")
                               .arg(rows)
                               .arg(f.start, 0, 'f', 1)
                               .arg(cell(first, f.start)));
        std::printf("| %d | %.1f | %s | %s | %s | %s | %s | %s | %s | %s | %s | %.0f / %.0f / "
                    "%.0f |\n",
                    rows, floor, qPrintable(cell(f.start, emptyStart)),
                    qPrintable(cell(f.allRows, 0)), qPrintable(cell(f.yearAtOnce, 0)),
                    qPrintable(cell(f.yearSwitch, floor)),
                    qPrintable(cell(f.beneficiarySwitch, floor)), qPrintable(cell(f.post, floor)),
                    qPrintable(cell(f.preview, floor)), qPrintable(cell(f.viewAfterPreview, 0)),
                    qPrintable(cell(f.windows, 0)), f.startMegabytes, f.previewMegabytes,
                    f.windowsMegabytes);
    }
    std::printf("\n| entries | start (ms) | first start without the stored sums (ms, ×start) "
                "|\n|---:|---:|---:|\n");
    for (const QString &row : firstStarts)
        std::printf("%s\n", qPrintable(row));
    return 0;
}
