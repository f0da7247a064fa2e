#include "AutomaticBackup.h"

#include "BackupCopy.h"

#include "platform/core/PlatformError.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QScopeGuard>

namespace
{

const QString dayFormat = QStringLiteral("yyyy-MM-dd");
constexpr QFileDevice::Permissions ownerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

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

// `built` takes the place of `target`; an older `target` goes only once the new one is in.
void putInPlace(const QString &built, const QString &target)
{
    const QString parent = QFileInfo(target).absolutePath();
    const QString old =
        parent + QStringLiteral("/.") + QFileInfo(target).fileName() + QStringLiteral(".ancienne");
    QDir(old).removeRecursively();
    const bool hadOne = QFileInfo::exists(target);
    if (hadOne && !QDir().rename(target, old))
        throw PlatformError(notPutInPlace(target));
    if (!QDir().rename(built, target)) {
        if (hadOne)
            QDir().rename(old, target);
        throw PlatformError(notPutInPlace(target));
    }
    QDir(old).removeRecursively();
}

} // namespace

QString AutomaticBackup::dayFolder(const QString &programDir, const QDate &day)
{
    return QDir(programDir).filePath(folderName() + QLatin1Char('/') + day.toString(dayFormat));
}

QStringList AutomaticBackup::copies(const QString &programDir)
{
    const QDir root(QDir(programDir).filePath(folderName()));
    QStringList names =
        root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    QStringList result;
    for (const QString &name : names) {
        const QDate day = QDate::fromString(name, dayFormat);
        if (day.isValid() && day.toString(dayFormat) == name)
            result.append(root.filePath(name));
    }
    return result;
}

void AutomaticBackup::run(const QString &programDir, const QDate &day, BackupSources &sources)
{
    makeFolder(QDir(programDir).filePath(folderName()));
    const QString target = dayFolder(programDir, day);
    // Built whole beside the day's folder, then put in its place: a copy that fails halfway
    // leaves that day's earlier copy as it was, never a mix of new tables and older files.
    const QString built = QFileInfo(target).absolutePath() + QStringLiteral("/.") +
                          QFileInfo(target).fileName() + QStringLiteral(".en-cours");
    QDir(built).removeRecursively(); // left by an exit that was cut short
    makeFolder(built);
    auto dropBuilt = qScopeGuard([&built] { QDir(built).removeRecursively(); });
    BackupCopy::run(programDir, built, sources);
    putInPlace(built, target);
    dropBuilt.dismiss();
    // The newest `kept` days stay; folders not named after a date are not copies.
    const QStringList all = copies(programDir);
    for (qsizetype i = kept; i < all.size(); ++i)
        QDir(all[i]).removeRecursively();
}

QString AutomaticBackup::failureMessage(const QString &reason)
{
    return QStringLiteral("La copie de sauvegarde automatique n'a pas pu être faite :\n\n%1\n\n"
                          "Talo 3.0 se ferme quand même ; vos données sont enregistrées dans son "
                          "dossier.")
        .arg(reason);
}
