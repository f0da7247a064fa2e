// A register with and without 1,000 proofs attached (to its first 1,000 entries), at 100,000
// entries unless told: start to the main window shown, a change of year and of beneficiary,
// and 1,000 moves to the next entry (each reads the count of proofs of the entry in view).
// Each figure is the best of a few runs in a fresh process per register.
#include "BenchRegister.h"

#include "app/Startup.h"
#include "app/TFrmPrincipale.h"
#include "app/TaloApplication.h"
#include "platform/store/Table.h"
#include "platform/widgets/Dialogs.h"
#include "proofs/ProofStore.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

struct Figures {
    double start = 1e9, yearSwitch = 1e9, beneficiarySwitch = 1e9, moves = 1e9;
};

double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double choose(QComboBox &combo, const QString &text)
{
    QElapsedTimer timer;
    timer.start();
    const int index = combo.findText(text);
    combo.setCurrentIndex(index);
    Q_EMIT combo.activated(index);
    QCoreApplication::processEvents();
    return millis(timer);
}

Figures measure(const QString &folder)
{
    Figures f;
    QElapsedTimer timer;
    timer.start();
    int argc = 1;
    char name[] = "talo-bench-proof-counts";
    char *argv[] = {name, nullptr};
    TaloApplication app(argc, argv);
    TaloApplication::applyFrenchConventions();
    Dialogs::startScripting();
    Startup startup(folder);
    if (!startup.run())
        return f;
    QCoreApplication::processEvents();
    f.start = millis(timer);
    TFrmPrincipale &window = startup.mainWindow();
    auto *years = window.findChild<QComboBox *>(QStringLiteral("lstListeAnnee"));
    auto *names = window.findChild<QComboBox *>(QStringLiteral("lstListeBeneficiaires"));
    for (int i = 0; i < 3; ++i) {
        f.yearSwitch = std::min(f.yearSwitch, choose(*years, QStringLiteral("2024")));
        f.beneficiarySwitch = std::min(f.beneficiarySwitch, choose(*names, QStringLiteral("PAUL")));
        choose(*names, QStringLiteral("TOUS"));
        choose(*years, QStringLiteral("TOUTES"));
    }
    Table &table = window.tableTous();
    for (int i = 0; i < 3; ++i) {
        table.first();
        QElapsedTimer moving;
        moving.start();
        for (int m = 0; m < 1000; ++m)
            table.next();
        QCoreApplication::processEvents();
        f.moves = std::min(f.moves, millis(moving));
    }
    return f;
}

Figures measureInChild(const QString &folder)
{
    Figures f;
    int fds[2];
    if (pipe(fds) != 0)
        return f;
    fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const Figures measured = measure(folder);
        (void)!write(fds[1], &measured, sizeof measured);
        _exit(0);
    }
    close(fds[1]);
    if (read(fds[0], &f, sizeof f) != sizeof f)
        std::fprintf(stderr, "%s: no figures\n", qPrintable(folder));
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return f;
}

// A copy of the register's program directory with `proofs` entries holding a proof each.
bool withProofs(const QString &from, const QString &to, int proofs)
{
    for (const QString &file : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(QDir(from).filePath(file), QDir(to).filePath(file)))
            return false;
    QTemporaryDir sources;
    ProofStore store(to);
    try {
        for (int entry = 1; entry <= proofs; ++entry) {
            const QString path = sources.filePath(QStringLiteral("facture-%1.pdf").arg(entry));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return false;
            file.write("%PDF-1.4\n% facture " + QByteArray::number(entry) + "\n%%EOF\n");
            file.close();
            store.attach(entry, {path});
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "proofs not attached: %s\n", e.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100'000;
    const QString plain = BenchRegister::cachedProgramDirectory(rows);
    QTemporaryDir copy;
    if (!withProofs(plain, copy.path(), 1000))
        return 1;
    // The count's own cost: one entry's links read, as each move does.
    {
        ProofStore store(copy.path());
        QElapsedTimer timer;
        timer.start();
        for (int entry = 1; entry <= 1000; ++entry)
            store.proofsOf(entry);
        std::printf("1,000 counts read alone: %.1f ms\n\n", millis(timer));
    }
    std::printf("| %d entries | start (ms) | change of year (ms) | change of beneficiary (ms) | "
                "1,000 moves (ms) |\n|---|---:|---:|---:|---:|\n",
                rows);
    for (const auto &[label, folder] :
         {std::pair{"no proof", plain}, std::pair{"1,000 proofs", copy.path()}}) {
        Figures best;
        for (int i = 0; i < 3; ++i) {
            const Figures f = measureInChild(folder);
            best.start = std::min(best.start, f.start);
            best.yearSwitch = std::min(best.yearSwitch, f.yearSwitch);
            best.beneficiarySwitch = std::min(best.beneficiarySwitch, f.beneficiarySwitch);
            best.moves = std::min(best.moves, f.moves);
        }
        std::printf("| %s | %.1f | %.1f | %.1f | %.1f |\n", label, best.start, best.yearSwitch,
                    best.beneficiarySwitch, best.moves);
    }
    return 0;
}
