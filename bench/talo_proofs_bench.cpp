// The register with proofs as the user meets it: a register of 10,000 entries unless told,
// without proofs, then the same with 1,000 proofs of 2 MB attached, ten to an entry (made once
// under the temporary folder and reused). For each, the best of three fresh processes: start to
// the main window shown, the bytes the process read from files while it started
// (/proc/self/io, rchar: every read() call, cached or not), a change of year and of
// beneficiary, and 1,000 moves to the next entry (each shows the proof count of the entry in
// view). Nothing of the proofs may be read at start: the bytes read must not grow with them.
#include "BenchMeasure.h"
#include "BenchProgram.h"
#include "BenchRegister.h"

#include "app/TFrmPrincipale.h"
#include "platform/store/Table.h"
#include "proofs/ProofStore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace
{

constexpr qint64 proofSize = 2 * 1024 * 1024;
constexpr int moves = 1000;

struct Figures {
    double start = 1e9, yearSwitch = 1e9, beneficiarySwitch = 1e9, moves = 1e9;
    double startReadMegabytes = 0;
};

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

// Attaches `count` proofs of 2 MB of random bytes, ten to an entry, to the register in `folder`.
void attachProofs(const QString &folder, int entries, int count)
{
    QTemporaryDir originals;
    ProofStore store(folder);
    QRandomGenerator random(7);
    for (int i = 0; i < count;) {
        const qint64 entry = 1 + (i / 10) % std::max(entries, 1);
        QStringList files;
        for (int k = 0; k < 10 && i < count; ++k, ++i) {
            QByteArray bytes(proofSize, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), int(proofSize / 4));
            bytes.replace(0, 9, "%PDF-1.4\n");
            bytes.replace(proofSize - 7, 7, "\n%%EOF\n");
            const QString path = originals.filePath(QStringLiteral("piece-%1.pdf").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != proofSize)
                throw std::runtime_error("cannot write " + path.toStdString());
            files.append(path);
        }
        store.attach(entry, files);
        for (const QString &path : files)
            QFile::remove(path);
    }
}

// A copy of the register of `entries` with `count` proofs, made once under the temporary folder.
// It is built beside its place and renamed into it when complete: a run stopped halfway leaves
// no register with fewer proofs for later runs to take as whole. Empty on failure.
QString withProofs(const QString &base, int entries, int count)
{
    const QString folder =
        QDir::temp().filePath(QStringLiteral("talo-bench-proofs-v2-%1-%2").arg(entries).arg(count));
    if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("TALO.DB"))))
        return folder;
    const QString partial = folder + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    QDir().mkpath(partial);
    try {
        for (const QString &name : QDir(base).entryList(QDir::Files)) {
            if (!QFile::copy(QDir(base).filePath(name), QDir(partial).filePath(name)))
                throw std::runtime_error("cannot copy " + name.toStdString());
        }
        attachProofs(partial, entries, count);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "proofs not attached: %s\n", e.what());
        QDir(partial).removeRecursively();
        return {};
    }
    QDir(folder).removeRecursively();
    if (!QDir().rename(partial, folder))
        return {};
    return folder;
}

Figures measure(const QString &folder)
{
    Figures f;
    const qint64 before = bytesRead();
    QElapsedTimer timer;
    timer.start();
    BenchProgram program("talo-bench-proofs", folder);
    if (!program.started())
        return f;
    f.start = BenchMeasure::millis(timer);
    f.startReadMegabytes = double(bytesRead() - before) / (1024.0 * 1024.0);
    TFrmPrincipale &window = program.window();
    auto *years = window.findChild<QComboBox *>(QStringLiteral("lstListeAnnee"));
    auto *names = window.findChild<QComboBox *>(QStringLiteral("lstListeBeneficiaires"));
    for (int i = 0; i < 5; ++i) {
        f.yearSwitch = std::min(f.yearSwitch, BenchMeasure::choose(*years, QStringLiteral("2024")));
        f.beneficiarySwitch =
            std::min(f.beneficiarySwitch, BenchMeasure::choose(*names, QStringLiteral("PAUL")));
        BenchMeasure::choose(*names, QStringLiteral("TOUS"));
        BenchMeasure::choose(*years, QStringLiteral("TOUTES"));
    }
    Table &table = window.tableTous();
    for (int i = 0; i < 3; ++i) {
        table.first();
        QCoreApplication::processEvents();
        QElapsedTimer moving;
        moving.start();
        for (int m = 0; m < moves; ++m)
            table.next();
        QCoreApplication::processEvents();
        f.moves = std::min(f.moves, BenchMeasure::millis(moving));
    }
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int entries = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10'000;
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000;
    if (entries <= 0 || count <= 0) {
        std::fprintf(stderr, "usage: talo-bench-proofs [entries (10000) [proofs (1000)]]\n");
        return 2;
    }
    const QString base = BenchRegister::cachedProgramDirectory(entries);
    const QString proofs = withProofs(base, entries, count);
    if (proofs.isEmpty())
        return 1;
    std::printf("| register | start (ms) | bytes read at start (MB) | change of year (ms) | "
                "change of beneficiary (ms) | %d moves to the next entry (ms) |\n"
                "|---|---:|---:|---:|---:|---:|\n",
                moves);
    const QList<std::pair<QString, QString>> folders{
        {QStringLiteral("%1 entries").arg(entries), base},
        {QStringLiteral("%1 entries, %2 proofs of 2 MB").arg(entries).arg(count), proofs}};
    for (const auto &[label, folder] : folders) {
        Figures best;
        for (int i = 0; i < 3; ++i) {
            const Figures f =
                BenchMeasure::inChild([&] { return measure(folder); }, Figures{}, label);
            best.start = std::min(best.start, f.start);
            best.yearSwitch = std::min(best.yearSwitch, f.yearSwitch);
            best.beneficiarySwitch = std::min(best.beneficiarySwitch, f.beneficiarySwitch);
            best.moves = std::min(best.moves, f.moves);
            // The most read: what must not grow with the proofs.
            best.startReadMegabytes = std::max(best.startReadMegabytes, f.startReadMegabytes);
        }
        std::printf("| %s | %.1f | %.2f | %.1f | %.1f | %.1f |\n", qPrintable(label), best.start,
                    best.startReadMegabytes, best.yearSwitch, best.beneficiarySwitch, best.moves);
    }
    return 0;
}
