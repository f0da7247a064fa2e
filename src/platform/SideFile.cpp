#include "SideFile.h"

#include "PlatformError.h"
#include "PlatformMessages.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace
{

[[noreturn]] void failRead(const QString &path, const QString &reason)
{
    throw PlatformError(PlatformMessages::cannotReadFile(path, reason));
}

[[noreturn]] void failWrite(const QString &path, bool existed, const QString &reason)
{
    const QString full =
        existed ? reason + QLatin1Char(' ') + PlatformMessages::oldFileKept() : reason;
    throw PlatformError(PlatformMessages::cannotWriteFile(path, full));
}

// Why a file could not be opened for writing. Decided from what is on disk rather than from
// access(), which grants everything to root whatever the effective capabilities.
QString openFailureReason(const QString &path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return PlatformMessages::folderMissing(folder.filePath());
    if (target.isDir())
        return PlatformMessages::pathIsFolder();
    return PlatformMessages::writeAccessDenied();
}

// Valid UTF-8 is read as UTF-8 (a leading byte-order mark dropped); anything else comes from
// the original platform, in Windows-1252.
QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = Windows1252::decode(bytes);
    return text;
}

// CR, LF and CR LF each end a line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace

QStringList SideFile::readLines(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        failRead(path, PlatformMessages::fileMissing());
    if (info.isDir())
        failRead(path, PlatformMessages::pathIsFolder());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failRead(path, PlatformMessages::readAccessDenied());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failRead(path, PlatformMessages::readFailed());
    return splitLines(decode(bytes));
}

void SideFile::writeLines(const QString &path, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            throw PlatformError(
                PlatformMessages::cannotWriteFile(path, PlatformMessages::lineBreakInText()));
        text += line;
        text += QLatin1String("\r\n");
    }
    // Windows-1252 unless that loses characters, or unless its bytes would read back as
    // different UTF-8 text ("Ã©" is the UTF-8 of "é"); UTF-8 always reads back as written.
    const std::optional<QByteArray> ansi = Windows1252::encode(text);
    const QByteArray bytes = ansi && decode(*ansi) == text ? *ansi : text.toUtf8();

    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failWrite(path, existed, openFailureReason(path));
    // QSaveFile gives the temporary file the permissions of the file it replaces; a file of
    // ours that did not exist yet holds health data and is for its owner's eyes only.
    if (!existed && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        failWrite(path, existed, PlatformMessages::writeAccessDenied());
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        failWrite(path, existed, PlatformMessages::writeFailed());
    }
    if (!file.commit()) {
        failWrite(path, existed,
                  file.error() == QFileDevice::RenameError ? PlatformMessages::replaceFailed()
                                                           : PlatformMessages::writeFailed());
    }
}
