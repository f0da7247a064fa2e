// The register with proofs as the user meets it: a register of 10,000 entries without proofs,
// then the same register with 1,000 proofs of 2 MB attached (made once under the temporary
// folder, talo-bench-proofs-v1-<count>, and reused). For each, in fresh processes: start to the
// main window shown, a change of year and of beneficiary, and the bytes the process read from
// files while it started (/proc/self/io, rchar: every read() call, cached or not). Nothing of
// the proofs may be read at start: the bytes read must not grow with them.
#include "BenchRegister.h"

#include "app/Startup.h"
#include "app/TFrmPrincipale.h"
#include "app/TaloApplication.h"
#include "platform/widgets/Dialogs.h"
#include "proofs/ProofStore.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr int entries = 10'000;
constexpr qint64 proofSize = 2 * 1024 * 1024;

struct Figures {
    double start = 0, yearSwitch = 1e9, beneficiarySwitch = 1e9;
    double startReadMegabytes = 0;
};

double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return 0;
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

// A copy of the register with `count` proofs of 2 MB, ten to an entry.
QString withProofs(const QString &base, int count)
{
    const QString folder =
        QDir::temp().filePath(QStringLiteral("talo-bench-proofs-v1-%1").arg(count));
    if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("TALO.DB"))))
        return folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (const QString &name : QDir(base).entryList(QDir::Files))
        QFile::copy(QDir(base).filePath(name), QDir(folder).filePath(name));
    QTemporaryDir originals;
    ProofStore store(folder);
    QRandomGenerator random(7);
    for (int i = 0; i < count;) {
        QStringList files;
        for (int k = 0; k < 10 && i < count; ++k, ++i) {
            QByteArray bytes(proofSize, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), int(proofSize / 4));
            bytes.replace(0, 9, "%PDF-1.4\n");
            bytes.replace(proofSize - 7, 7, "\n%%EOF\n");
            const QString path = originals.filePath(QStringLiteral("piece-%1.pdf").arg(i));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            files.append(path);
        }
        store.attach(1 + i / 10, files);
        for (const QString &path : files)
            QFile::remove(path);
    }
    return folder;
}

Figures measure(const QString &folder)
{
    Figures f;
    const qint64 before = bytesRead();
    QElapsedTimer timer;
    timer.start();
    int argc = 1;
    char name[] = "talo-bench-proofs";
    char *argv[] = {name, nullptr};
    TaloApplication app(argc, argv);
    TaloApplication::applyFrenchConventions();
    Dialogs::startScripting();
    Startup startup(folder);
    if (!startup.run())
        return f;
    QCoreApplication::processEvents();
    f.start = millis(timer);
    f.startReadMegabytes = double(bytesRead() - before) / (1024.0 * 1024.0);
    TFrmPrincipale &window = startup.mainWindow();
    auto *years = window.findChild<QComboBox *>(QStringLiteral("lstListeAnnee"));
    auto *names = window.findChild<QComboBox *>(QStringLiteral("lstListeBeneficiaires"));
    for (int i = 0; i < 5; ++i) {
        f.yearSwitch = std::min(f.yearSwitch, choose(*years, QStringLiteral("2024")));
        f.beneficiarySwitch = std::min(f.beneficiarySwitch, choose(*names, QStringLiteral("PAUL")));
        choose(*names, QStringLiteral("TOUS"));
        choose(*years, QStringLiteral("TOUTES"));
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

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const QString base = BenchRegister::cachedProgramDirectory(entries);
    const QString proofs = withProofs(base, count);
    std::printf("| register | start (ms) | bytes read at start (MB) | change of year (ms) | "
                "change of beneficiary (ms) |\n|---|---:|---:|---:|---:|\n");
    const QList<std::pair<QString, QString>> folders{
        {QStringLiteral("%1 entries").arg(entries), base},
        {QStringLiteral("%1 entries, %2 proofs of 2 MB").arg(entries).arg(count), proofs}};
    for (const auto &[label, folder] : folders) {
        Figures f = measureInChild(folder);
        for (int i = 0; i < 2; ++i)
            f.start = std::min(f.start, measureInChild(folder).start);
        std::printf("| %s | %.1f | %.2f | %.1f | %.1f |\n", qPrintable(label), f.start,
                    f.startReadMegabytes, f.yearSwitch, f.beneficiarySwitch);
    }
    return 0;
}
