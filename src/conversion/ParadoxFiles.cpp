#include "ParadoxFiles.h"

#include <QDir>
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
