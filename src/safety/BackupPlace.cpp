#include "BackupPlace.h"

#include "recovery/BackupCopy.h"
#include "recovery/RestoreCandidate.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PrivateProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace
{

const QString iniName = QStringLiteral("talo.ini");
const QString removableMounts = QStringLiteral("/media/");
constexpr int namesShown = 5;

// The names a backup writes into its folder, in upper case for a comparison without case.
QStringList copyNames(const QString &programDir)
{
    QStringList names;
    for (const QString &table : RestoreCandidate::tableFileNames()) {
        names.append(table.toUpper());
        // Companions a table copy replaces or removes.
        for (const char *suffix : {"-wal", "-shm", "-journal"})
            names.append((table + QLatin1String(suffix)).toUpper());
    }
    const QString ini = FileNames::resolve(programDir, iniName);
    for (int key = 1; key <= BackupCopy::listedFileCount; ++key) {
        try {
            const QString name = PrivateProfile::readString(ini, QStringLiteral("ListeFichiers"),
                                                            QString::number(key));
            if (!name.isEmpty())
                names.append(name.toUpper());
        } catch (const PlatformError &) {
            // Unreadable: its files count as foreign, so the question is asked rather than not.
            break;
        }
    }
    return names;
}

QString plural(int count, const QString &one, const QString &many)
{
    return count == 1 ? one : many.arg(count);
}

} // namespace

QString BackupPlace::section()
{
    return QStringLiteral("Sauvegarde");
}

QString BackupPlace::folderKey()
{
    return QStringLiteral("DernierDossier");
}

QString BackupPlace::remembered(const QString &programDir)
{
    try {
        return PrivateProfile::readString(FileNames::resolve(programDir, iniName), section(),
                                          folderKey());
    } catch (const PlatformError &) {
        return {};
    }
}

void BackupPlace::remember(const QString &programDir, const QString &folder)
{
    PrivateProfile::writeString(FileNames::resolve(programDir, iniName), section(), folderKey(),
                                folder);
}

QStringList BackupPlace::volumeRoots()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Files mounted over files (a container's /etc/hosts) are no place for a backup.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir())
            continue;
        if (!roots.contains(root))
            roots.append(root);
    }
    roots.sort();
    return roots;
}

QString BackupPlace::startingFolder(const QString &remembered, const QStringList &volumeRoots,
                                    const QString &home)
{
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    for (const QString &root : volumeRoots) {
        if (root.startsWith(removableMounts))
            return root;
    }
    return home;
}

QStringList BackupPlace::foreignEntries(const QString &folder, const QString &programDir)
{
    const QStringList ours = copyNames(programDir);
    QStringList foreign;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (!ours.contains(entry.toUpper()))
            foreign.append(entry);
    }
    return foreign;
}

QString BackupPlace::foreignEntriesQuestion(const QString &folder, const QStringList &entries)
{
    QString names = entries.mid(0, namesShown).join(QStringLiteral(", "));
    const int more = int(entries.size()) - namesShown;
    if (more > 0)
        names += plural(more, QStringLiteral(" et un autre"), QStringLiteral(" et %1 autres"));
    const QString what = plural(int(entries.size()), QStringLiteral("un élément qui ne vient pas"),
                                QStringLiteral("%1 éléments qui ne viennent pas"));
    return QStringLiteral("Le dossier %1 contient déjà %2 d'une copie de Talo 3.0 : %3.\n\n"
                          "La copie de sauvegarde y mettrait ses fichiers au milieu des vôtres. "
                          "Pour la ranger à part, répondez Non, puis choisissez un autre dossier "
                          "ou cliquez sur « Créer nouveau dossier ».\n\n"
                          "Faire quand même la copie dans ce dossier ?")
        .arg(QDir::toNativeSeparators(folder), what, names);
}

QString BackupPlace::copiedMessage(int tables, int files, const QString &folder)
{
    return QStringLiteral("Copie terminée : %1 et %2 dans %3.")
        .arg(plural(tables, QStringLiteral("1 table"), QStringLiteral("%1 tables")),
             plural(files, QStringLiteral("1 fichier"), QStringLiteral("%1 fichiers")),
             QDir::toNativeSeparators(folder));
}
