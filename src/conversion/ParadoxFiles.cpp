#include "ParadoxFiles.h"

#include "ConversionError.h"
#include "ConversionMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QStringList ParadoxFiles::ofTable(const QString &folder, const QString &tableFile)
{
    static const QRegularExpression companion(
        QStringLiteral("^(DB|MB|PX|VAL|TV|FAM|[XY][0-9A-F]{2}|[XY]G[0-9A-F])$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString base = QFileInfo(tableFile).completeBaseName();
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (entry.completeBaseName().compare(base, Qt::CaseInsensitive) == 0 &&
            companion.match(entry.suffix()).hasMatch())
            names.append(entry.fileName());
    }
    return names;
}

QString ParadoxFiles::withSuffix(const QStringList &names, const QString &suffix)
{
    for (const QString &name : names) {
        if (QFileInfo(name).suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

QString ParadoxFiles::moveAside(const QString &folder, const QStringList &names)
{
    const QDir dir(folder);
    // Files kept by an earlier conversion are never overwritten.
    auto isFree = [&names](const QString &candidate) {
        const QDir archive(candidate);
        for (const QString &name : names) {
            if (!archive.entryList({name}, QDir::AllEntries | QDir::Hidden).isEmpty())
                return false;
        }
        return true;
    };
    QString archive = dir.filePath(ConversionMessages::archiveFolderName());
    for (int n = 2; !isFree(archive); ++n)
        archive =
            dir.filePath(ConversionMessages::archiveFolderName() + QStringLiteral(" (%1)").arg(n));
    if (!dir.mkpath(archive))
        throw ConversionError(ConversionMessages::archiveNotCreated(archive));

    QStringList moved;
    for (const QString &name : names) {
        if (QFile::rename(dir.filePath(name), QDir(archive).filePath(name))) {
            moved.append(name);
            continue;
        }
        for (const QString &back : moved)
            QFile::rename(QDir(archive).filePath(back), dir.filePath(back));
        throw ConversionError(ConversionMessages::cannotMove(dir.filePath(name), archive));
    }
    return archive;
}
