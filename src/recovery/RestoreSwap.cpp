#include "RestoreSwap.h"

#include "RestoreJournal.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace
{

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// There, as an entry of its own: a link counts whatever it points to.
bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The renames made durable: the directory entries reach the disk.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// One rename, synced in both folders, refused rather than replacing anything.
void move(const QString &from, const QString &to)
{
    if (present(to) || !QFile::rename(from, to))
        throw PlatformError(
            QStringLiteral("Impossible de déplacer %1 vers %2.").arg(native(from), native(to)));
    syncFolder(QFileInfo(to).absolutePath());
    syncFolder(QFileInfo(from).absolutePath());
}

// Renames done so far, undone in reverse order when a later one fails.
class Moves
{
public:
    void make(const QString &from, const QString &to)
    {
        move(from, to);
        done_.append({from, to});
    }
    void undo()
    {
        for (qsizetype i = done_.size() - 1; i >= 0; --i)
            QFile::rename(done_[i].second, done_[i].first);
        done_.clear();
    }

private:
    QList<std::pair<QString, QString>> done_;
};

QString uniqueFolder(const QString &programDir, const QString &name)
{
    const QDir dir(programDir);
    QString candidate = dir.filePath(name);
    for (int n = 2; present(candidate); ++n)
        candidate = dir.filePath(QStringLiteral("%1 (%2)").arg(name).arg(n));
    return candidate;
}

// Where a journaled swap stands, read from the files themselves: a current file has gone
// out once it is in the aside folder; a copy has come in once it has left the staging folder.
struct SwapState {
    SwapState(const QString &programDir, const RestoreJournal &journal)
        : dir(programDir), aside(dir.filePath(journal.asideFolder)),
          staging(dir.filePath(journal.stagingFolder)), journal(journal)
    {
    }
    bool outDone(const QString &name) const { return present(QDir(aside).filePath(name)); }
    bool inDone(const QString &name) const
    {
        return !present(QDir(staging).filePath(name)) && present(dir.filePath(name));
    }
    bool canFinish() const
    {
        return std::all_of(journal.movedIn.begin(), journal.movedIn.end(), [&](const QString &n) {
            return inDone(n) || present(QDir(staging).filePath(n));
        });
    }
    void finish() const
    {
        if (!QDir(aside).exists() &&
            !QDir().mkdir(aside,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
            throw PlatformError(
                QStringLiteral("Impossible de créer le dossier %1.").arg(native(aside)));
        for (const QString &name : journal.movedOut)
            if (!outDone(name) && present(dir.filePath(name)))
                move(dir.filePath(name), QDir(aside).filePath(name));
        for (const QString &name : journal.movedIn)
            if (!inDone(name))
                move(QDir(staging).filePath(name), dir.filePath(name));
    }
    void undo() const
    {
        for (qsizetype i = journal.movedIn.size() - 1; i >= 0; --i)
            if (inDone(journal.movedIn[i])) {
                QDir().mkpath(staging);
                move(dir.filePath(journal.movedIn[i]), QDir(staging).filePath(journal.movedIn[i]));
            }
        for (qsizetype i = journal.movedOut.size() - 1; i >= 0; --i)
            if (outDone(journal.movedOut[i]))
                move(QDir(aside).filePath(journal.movedOut[i]), dir.filePath(journal.movedOut[i]));
        QDir().rmdir(aside);
    }

    QDir dir;
    QString aside;
    QString staging;
    const RestoreJournal &journal;
};

} // namespace

namespace
{
int stopAfterStep = 0;
}

void RestoreSwap::setStopAfterStepForTesting(int step)
{
    stopAfterStep = step;
}

RestoreSwap::StepHook RestoreSwap::defaultHook()
{
    const int stopAfter = stopAfterStep;
    if (stopAfter <= 0)
        return {};
    return [stopAfter](int step) {
        if (step == stopAfter)
            ::_exit(86);
    };
}

QString RestoreSwap::asideFolderName(const QDateTime &now)
{
    return QStringLiteral("Avant restauration ") +
           now.toString(QStringLiteral("yyyy-MM-dd HH'h'mm"));
}

QStringList RestoreSwap::asideFolders(const QString &programDir)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^Avant restauration (\\d{4}-\\d{2}-\\d{2} \\d{2}h\\d{2})(?: \\((\\d+)\\))?$"));
    struct Found {
        QDateTime when;
        int rank;
        QString path;
    };
    QList<Found> found;
    const QDir dir(programDir);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = pattern.match(info.fileName());
        if (!m.hasMatch() || info.isSymLink())
            continue;
        const QDateTime when =
            QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH'h'mm"));
        if (when.isValid())
            found.append({when, m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(),
                          info.absoluteFilePath()});
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.when != b.when ? a.when > b.when : a.rank > b.rank;
    });
    QStringList paths;
    for (const Found &f : found)
        paths.append(f.path);
    return paths;
}

QString RestoreSwap::run(const QString &programDir, const QString &stagingFolder,
                         const QStringList &names, const QStringList &tableNames,
                         const QDateTime &now, const StepHook &afterStep)
{
    const QDir dir(programDir);
    if (QFileInfo(QFileInfo(stagingFolder).absolutePath()).canonicalFilePath() !=
        QFileInfo(dir.absolutePath()).canonicalFilePath())
        throw PlatformError(QStringLiteral("Le dossier %1 n'est pas dans le dossier de Talo 3.0.")
                                .arg(native(stagingFolder)));
    const QString aside = uniqueFolder(programDir, asideFolderName(now));
    RestoreJournal journal;
    journal.asideFolder = QFileInfo(aside).fileName();
    journal.stagingFolder = QFileInfo(stagingFolder).fileName();
    QStringList current = names;
    for (const QString &table : tableNames)
        for (const QString &suffix : companionSuffixes())
            current.append(table + suffix);
    for (const QString &name : current) {
        const QString path = FileNames::resolve(programDir, name);
        if (present(path))
            journal.movedOut.append(QFileInfo(path).fileName());
    }
    journal.movedIn = names;

    int step = 0;
    auto stepDone = [&] {
        if (afterStep)
            afterStep(++step);
    };
    journal.write(programDir);
    stepDone();
    if (!QDir().mkdir(aside,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        RestoreJournal::remove(programDir);
        throw PlatformError(
            QStringLiteral("Impossible de créer le dossier %1.").arg(native(aside)));
    }
    stepDone();

    Moves moves;
    try {
        for (const QString &name : journal.movedOut) {
            moves.make(dir.filePath(name), QDir(aside).filePath(name));
            stepDone();
        }
        for (const QString &name : journal.movedIn) {
            moves.make(QDir(stagingFolder).filePath(name), dir.filePath(name));
            stepDone();
        }
    } catch (const PlatformError &) {
        moves.undo();
        QDir().rmdir(aside);
        syncFolder(programDir);
        RestoreJournal::remove(programDir);
        throw;
    }
    RestoreJournal::remove(programDir);
    stepDone();
    return aside;
}

RestoreSwap::Recovery RestoreSwap::recover(const QString &programDir)
{
    const std::optional<RestoreJournal> journal = RestoreJournal::read(programDir);
    if (!journal)
        return {};
    const SwapState state(programDir, *journal);
    Recovery recovery;
    QString finishFailure;
    try {
        if (!state.canFinish())
            throw PlatformError(QStringLiteral("Des fichiers de la copie manquent dans %1.")
                                    .arg(native(state.staging)));
        state.finish();
        recovery = {Recovery::Outcome::Finished, state.aside};
    } catch (const PlatformError &e) {
        finishFailure = e.message();
        try {
            state.undo();
            recovery = {Recovery::Outcome::Undone, QString()};
        } catch (const PlatformError &undoFailure) {
            throw PlatformError(
                QStringLiteral("Une restauration a été interrompue et n'a pu être ni terminée ni "
                               "annulée :\n%1\n%2\n\nVos fichiers d'avant la restauration sont "
                               "dans le dossier %3 ; ceux de la copie dans le dossier %4. Talo "
                               "3.0 réessaiera au prochain démarrage.")
                    .arg(finishFailure, undoFailure.message(), native(state.aside),
                         native(state.staging)));
        }
    }
    syncFolder(programDir);
    RestoreJournal::remove(programDir);
    QDir(state.staging).removeRecursively();
    return recovery;
}

QString RestoreSwap::recoveryMessage(const Recovery &recovery)
{
    switch (recovery.outcome) {
    case Recovery::Outcome::Finished:
        return QStringLiteral("Une restauration avait été interrompue (arrêt du programme ou de "
                              "l'ordinateur). Elle vient d'être terminée : les données de la "
                              "copie de sauvegarde sont en place.\n\nLes fichiers qu'elle "
                              "remplace sont dans le dossier « %1 ».")
            .arg(QFileInfo(recovery.asideFolder).fileName());
    case Recovery::Outcome::Undone:
        return QStringLiteral("Une restauration avait été interrompue (arrêt du programme ou de "
                              "l'ordinateur) et n'a pas pu être terminée. Elle a été annulée : "
                              "vos données sont telles qu'avant la restauration.");
    case Recovery::Outcome::Nothing:
        break;
    }
    return QString();
}
