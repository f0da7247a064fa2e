#include "AutomaticBackup.h"

#include "BackupCopy.h"

#include "platform/core/PlatformError.h"

#include <QDir>
#include <QFileDevice>

namespace
{

const QString dayFormat = QStringLiteral("yyyy-MM-dd");
constexpr QFileDevice::Permissions ownerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The folder made if needed, readable by its owner only (the copies hold health data).
void makeFolder(const QString &path)
{
    if (QDir(path).exists())
        return;
    if (!QDir().mkdir(path, ownerOnly))
        throw PlatformError(QStringLiteral("Impossible de créer le dossier %1.")
                                .arg(QDir::toNativeSeparators(path)));
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
    makeFolder(target);
    BackupCopy::run(programDir, target, sources);
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
