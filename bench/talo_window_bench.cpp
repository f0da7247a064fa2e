// Times the creation of the main window over a register of 100,000 entries (open, totals, grid
// model, move to the last record, first paint) against its creation over an empty register, in
// the same run. Runs on the offscreen platform unless a display is asked for.
#include "BenchRegister.h"

#include "app/ProgramDirectory.h"
#include "app/TFrmPrincipale.h"
#include "platform/core/SideFile.h"
#include "platform/widgets/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

double createOnce(const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    {
        TFrmPrincipale window(folder);
        window.show();
        QCoreApplication::processEvents();
        const double shown = double(timer.nsecsElapsed()) / 1e6;
        window.hide();
        return shown;
    }
}

double bestOf(int runs, const QString &folder)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, createOnce(folder));
    return best;
}

// The first window of a fresh process, as a user starting the program meets it (fonts, style
// and plugins loaded on the way): measured in a child process, best of `runs`.
double bestColdStart(int runs, const QString &folder)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0)
            return -1;
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            int argc = 1;
            char name[] = "talo-bench-window";
            char *argv[] = {name, nullptr};
            QApplication app(argc, argv);
            QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
            Dialogs::startScripting();
            const double ms = createOnce(folder);
            (void)!write(fds[1], &ms, sizeof ms);
            _exit(0);
        }
        close(fds[1]);
        double ms = 1e9;
        if (read(fds[0], &ms, sizeof ms) == sizeof ms)
            best = std::min(best, ms);
        close(fds[0]);
        waitpid(child, nullptr, 0);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100'000;
    QTemporaryDir empty, full;
    for (const QTemporaryDir *dir : {&empty, &full}) {
        ProgramDirectory::provision(dir->path());
        SideFile::writeLines(dir->filePath("LSTBENEF.LST"), {"TOUS", "PAUL", "MARIE"});
    }
    BenchRegister::fill(full.filePath("TALO.DB"), rows);

    const double coldEmpty = bestColdStart(3, empty.path());
    const double coldFull = bestColdStart(3, full.path());

    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Dialogs::startScripting();
    createOnce(empty.path()); // first window: fonts, styles and plugins load once
    const double emptyStart = bestOf(5, empty.path());
    const double fullStart = bestOf(5, full.path());
    std::printf(
        "| main window created and shown | empty register (ms) | %d entries (ms) | ratio |\n",
        rows);
    std::printf("|---|---:|---:|---:|\n");
    std::printf("| first window of the process (best of 3) | %.1f | %.1f | %.2f |\n", coldEmpty,
                coldFull, coldFull / coldEmpty);
    std::printf("| again in the same process (best of 5) | %.1f | %.1f | %.2f |\n", emptyStart,
                fullStart, fullStart / emptyStart);
    return 0;
}
