#include "FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString FileNames::resolve(const QString &directory, const QString &name)
{
    const QDir dir(directory);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QString FileNames::withTrailingSeparator(const QString &directory)
{
    if (directory.endsWith(QLatin1Char('/')))
        return directory;
    return directory + QLatin1Char('/');
}

QString FileNames::programDirectory()
{
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString FileNames::canonicalDirectory(const QString &directory)
{
    const QFileInfo info(directory);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    return withTrailingSeparator(path);
}

QString FileNames::temporaryTemplate(const QString &path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral(".XXXXXX.tmp");
}

bool FileNames::isTemporaryOf(const QString &entry, const QString &name)
{
    // Six letters or digits from QTemporaryFile; twelve hexadecimal digits from earlier
    // versions of the table copy.
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(.+)\\.([A-Za-z0-9]{6}|[0-9a-f]{12})\\.tmp(-journal)?$"));
    const QRegularExpressionMatch match = pattern.match(entry);
    return match.hasMatch() && match.captured(1).compare(name, Qt::CaseInsensitive) == 0;
}
