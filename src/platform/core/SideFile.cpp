#include "SideFile.h"

#include "AtomicFileWriter.h"
#include "FileErrors.h"
#include "PlatformError.h"
#include "PlatformMessages.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace
{

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
        FileErrors::readFailed(path, PlatformMessages::fileMissing());
    if (info.isDir())
        FileErrors::readFailed(path, PlatformMessages::pathIsFolder());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        FileErrors::readFailed(path, PlatformMessages::readAccessDenied());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        FileErrors::readFailed(path, PlatformMessages::readFailed());
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

    AtomicFileWriter file(path);
    file.write(bytes);
    file.commit();
}
