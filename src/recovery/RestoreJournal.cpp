#include "RestoreJournal.h"

#include "platform/core/AtomicFileWriter.h"
#include "platform/core/FileErrors.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace
{

const QByteArray header = "Talo 3.0 restauration 1";
const QByteArray asideKey = "cote=";
const QByteArray stagingKey = "copie=";
const QByteArray outKey = "sortie=";
const QByteArray inKey = "entree=";

// A bare name inside the program directory: nothing that could lead a rename elsewhere.
bool isBareName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

[[noreturn]] void damaged(const QString &path)
{
    throw PlatformError(QStringLiteral("Le fichier %1, qui décrit une restauration en cours, est "
                                       "illisible ou abîmé.")
                            .arg(QDir::toNativeSeparators(path)));
}

} // namespace

QString RestoreJournal::path(const QString &programDir)
{
    return QDir(programDir).filePath(fileName());
}

void RestoreJournal::write(const QString &programDir) const
{
    QByteArray text = header + '\n';
    text += asideKey + asideFolder.toUtf8() + '\n';
    text += stagingKey + stagingFolder.toUtf8() + '\n';
    for (const QString &name : movedOut)
        text += outKey + name.toUtf8() + '\n';
    for (const QString &name : movedIn)
        text += inKey + name.toUtf8() + '\n';
    AtomicFileWriter out(path(programDir));
    out.write(text);
    out.commit();
}

std::optional<RestoreJournal> RestoreJournal::read(const QString &programDir)
{
    const QString file = path(programDir);
    if (!QFileInfo(file).isFile() && !QFileInfo(file).isSymLink())
        return std::nullopt;
    QFile in(file);
    if (QFileInfo(file).isSymLink() || !in.open(QIODevice::ReadOnly))
        damaged(file);
    const QList<QByteArray> lines = in.readAll().split('\n');
    if (lines.isEmpty() || lines.first() != header)
        damaged(file);
    RestoreJournal journal;
    for (const QByteArray &line : lines.mid(1)) {
        if (line.isEmpty())
            continue;
        auto value = [&](const QByteArray &key) { return QString::fromUtf8(line.mid(key.size())); };
        if (line.startsWith(asideKey))
            journal.asideFolder = value(asideKey);
        else if (line.startsWith(stagingKey))
            journal.stagingFolder = value(stagingKey);
        else if (line.startsWith(outKey))
            journal.movedOut.append(value(outKey));
        else if (line.startsWith(inKey))
            journal.movedIn.append(value(inKey));
        else
            damaged(file);
    }
    // Only folders a swap makes: a journal never leads a recovery to move or remove others.
    bool sound = isBareName(journal.asideFolder) && isBareName(journal.stagingFolder) &&
                 journal.asideFolder.startsWith(QLatin1String("Avant restauration ")) &&
                 journal.stagingFolder.startsWith(QLatin1String(".Restauration-"));
    for (const QStringList *names : {&journal.movedOut, &journal.movedIn})
        for (const QString &name : *names)
            sound = sound && isBareName(name);
    if (!sound)
        damaged(file);
    return journal;
}

void RestoreJournal::remove(const QString &programDir)
{
    const QString file = path(programDir);
    if (!QFile::remove(file) && QFileInfo::exists(file))
        FileErrors::writeFailed(file, true, PlatformMessages::writeAccessDenied());
    const int fd = ::open(QFile::encodeName(programDir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
