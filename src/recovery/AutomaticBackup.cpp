#include "AutomaticBackup.h"

#include "AutomaticCopyRecord.h"
#include "BackupCopy.h"

#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "proofs/ProofStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace
{

const QString dayFormat = QStringLiteral("yyyy-MM-dd");
constexpr QFileDevice::Permissions ownerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// Working names beside a day's folder ".AAAA-MM-JJ.<state>": hidden, so never listed.
const QString building = QStringLiteral("en-cours");
const QString movedAside = QStringLiteral("ancienne");
const QString removing = QStringLiteral("supprimee");

std::function<void(AutomaticBackup::Step)> stepHook;

void reached(AutomaticBackup::Step step)
{
    if (stepHook)
        stepHook(step);
}

QString rootOf(const QString &programDir)
{
    return QDir(programDir).filePath(AutomaticBackup::folderName());
}

QString working(const QString &dayFolder, const QString &state)
{
    const QFileInfo info(dayFolder);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') + state;
}

QDate dayOf(const QString &name)
{
    const QDate day = QDate::fromString(name, dayFormat);
    return day.isValid() && day.toString(dayFormat) == name ? day : QDate();
}

struct Copy {
    QString path;
    QDate day;
    std::optional<qint64> rank;
};

// Ranked copies first, by rank; copies made before ranks existed after them, by name.
std::vector<Copy> byMaking(const QString &programDir)
{
    const QDir root(rootOf(programDir));
    std::vector<Copy> result;
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDate day = dayOf(name);
        if (day.isValid())
            result.push_back(
                {root.filePath(name), day, AutomaticCopyRecord::rank(root.filePath(name))});
    }
    std::sort(result.begin(), result.end(), [](const Copy &a, const Copy &b) {
        if (a.rank.has_value() != b.rank.has_value())
            return a.rank.has_value();
        if (a.rank != b.rank)
            return *a.rank > *b.rank;
        return a.day > b.day;
    });
    return result;
}

QStringList pathsOf(const std::vector<Copy> &copies)
{
    QStringList paths;
    for (const Copy &copy : copies)
        paths.append(copy.path);
    return paths;
}

QString notPutInPlace(const QString &target)
{
    return QStringLiteral("La copie du jour n'a pas pu être mise en place dans le dossier %1.")
        .arg(QDir::toNativeSeparators(target));
}

// The folder made if needed, readable by its owner only (the copies hold health data).
void makeFolder(const QString &path)
{
    if (QDir(path).exists())
        return;
    if (!QDir().mkdir(path, ownerOnly))
        throw PlatformError(QStringLiteral("Impossible de créer le dossier %1.")
                                .arg(QDir::toNativeSeparators(path)));
}

// `built` takes the place of `target`; an older `target` goes only once the new one is in. A
// cut between the two renames leaves the older one aside, which repair() puts back.
void putInPlace(const QString &built, const QString &target)
{
    const QString old = working(target, movedAside);
    const bool hadOne = QFileInfo::exists(target);
    if (hadOne) {
        QDir(old).removeRecursively();
        if (!QDir().rename(target, old))
            throw PlatformError(notPutInPlace(target));
        reached(AutomaticBackup::Step::OldCopyMovedAside);
    }
    if (!QDir().rename(built, target)) {
        if (hadOne)
            QDir().rename(old, target);
        throw PlatformError(notPutInPlace(target));
    }
    reached(AutomaticBackup::Step::NewCopyInPlace);
    if (hadOne) {
        QDir(old).removeRecursively();
        reached(AutomaticBackup::Step::OldCopyRemoved);
    }
}

// A copy goes under a hidden name first, so that one removed halfway is never offered as a
// copy; the removal is finished by repair() if cut short.
void removeCopy(const QString &path)
{
    const QString gone = working(path, removing);
    QDir(gone).removeRecursively();
    if (!QDir().rename(path, gone))
        return;
    reached(AutomaticBackup::Step::CopyMovedToRemove);
    QDir(gone).removeRecursively();
    reached(AutomaticBackup::Step::CopyRemoved);
}

void prune(const QString &programDir, const QString &justMade)
{
    const QString made = QFileInfo(justMade).fileName();
    int keeping = 1;
    for (const Copy &copy : byMaking(programDir)) {
        if (QFileInfo(copy.path).fileName() == made)
            continue;
        if (keeping < AutomaticBackup::kept)
            ++keeping;
        else
            removeCopy(copy.path);
    }
}

// Proofs no entry refers to any more leave the program directory once the copy just made holds
// them. Housekeeping only: a failure leaves them for the next copy.
void collectProofs(const QString &programDir, const QString &copy)
{
    try {
        ProofStore store(programDir);
        const QDir held(QDir(copy).filePath(ProofStore::folderName()));
        store.collectUnlinked([&](const QString &name) {
            const QFileInfo there(held.filePath(name));
            return there.isFile() &&
                   there.size() == QFileInfo(store.folder() + QLatin1Char('/') + name).size();
        });
    } catch (const std::exception &) {
    }
}

} // namespace

QString AutomaticBackup::dayFolder(const QString &programDir, const QDate &day)
{
    return QDir(rootOf(programDir)).filePath(day.toString(dayFormat));
}

QStringList AutomaticBackup::copies(const QString &programDir)
{
    return copies(programDir, Today::date());
}

QStringList AutomaticBackup::copies(const QString &programDir, const QDate &today)
{
    std::vector<Copy> all = byMaking(programDir);
    std::stable_partition(all.begin(), all.end(),
                          [&today](const Copy &copy) { return copy.day <= today; });
    return pathsOf(all);
}

QStringList AutomaticBackup::copiesByMaking(const QString &programDir)
{
    return pathsOf(byMaking(programDir));
}

QDate AutomaticBackup::copyDatedAfter(const QString &programDir, const QDate &day)
{
    QDate latest;
    for (const Copy &copy : byMaking(programDir)) {
        if (copy.day > day && (!latest.isValid() || copy.day > latest))
            latest = copy.day;
    }
    return latest;
}

void AutomaticBackup::run(const QString &programDir, const QDate &day, BackupSources &sources)
{
    makeFolder(rootOf(programDir));
    repair(programDir);
    qint64 lastRank = 0;
    const std::vector<Copy> earlier = byMaking(programDir);
    for (const Copy &copy : earlier)
        lastRank = std::max(lastRank, copy.rank.value_or(0));
    const QString target = dayFolder(programDir, day);
    // Built whole beside the day's folder, then put in its place: a copy that fails halfway
    // leaves that day's earlier copy as it was, never a mix of new tables and older files.
    const QString built = working(target, building);
    makeFolder(built);
    reached(Step::BuildFolderMade);
    // A reported failure removes the half-built copy; a cut leaves it to repair().
    try {
        BackupCopy::run(programDir, built, sources,
                        earlier.empty() ? QString() : earlier.front().path);
        reached(Step::ContentsCopied);
        // Written last: a copy is ranked once it is whole.
        AutomaticCopyRecord::write(built, lastRank + 1, QDateTime::currentDateTime());
        reached(Step::RecordWritten);
        putInPlace(built, target);
    } catch (const std::exception &) {
        QDir(built).removeRecursively();
        throw;
    }
    prune(programDir, target);
    collectProofs(programDir, target);
}

void AutomaticBackup::repair(const QString &programDir)
{
    QDir root(rootOf(programDir));
    const QStringList hidden =
        root.entryList({QStringLiteral(".*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : hidden) {
        const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
        const QString day = name.mid(1, dot - 1);
        if (dot < 0 || !dayOf(day).isValid())
            continue;
        const QString state = name.mid(dot + 1);
        if (state == movedAside && !root.exists(day))
            root.rename(name, day);
        else if (state == movedAside || state == building || state == removing)
            QDir(root.filePath(name)).removeRecursively();
    }
}

void AutomaticBackup::setStepHookForTesting(std::function<void(Step)> hook)
{
    stepHook = std::move(hook);
}
