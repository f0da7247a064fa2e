#include "PrivateProfile.h"

#include "PlatformError.h"
#include "PlatformMessages.h"
#include "SideFile.h"

#include <QFileInfo>
#include <QStringList>

#include <optional>

namespace
{

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Only spaces and tabs: the original calls leave other characters, a no-break space included.
QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin).toString();
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool hasBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The name of the section a line opens, if it is a section header: "[name]".
std::optional<QString> sectionOf(const QString &line)
{
    const QString trimmed = trimBlanks(line);
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        close = trimmed.size();
    return trimBlanks(QStringView(trimmed).sliced(1, close - 1));
}

// The key a line sets, if it is a "key=value" line (not a comment, not a header).
std::optional<QString> keyOf(const QString &line)
{
    const QString trimmed = trimBlanks(line);
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return trimBlanks(QStringView(trimmed).first(equals));
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section's lines lie: its header, and the first line past its end.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = -1;
};

// The first section of that name, as the original calls see only the first.
std::optional<SectionRange> findSection(const QStringList &lines, const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = sectionOf(lines.at(i));
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionOf(lines.at(end)))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

qsizetype findKey(const QStringList &lines, const SectionRange &range, const QString &key)
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const std::optional<QString> name = keyOf(lines.at(i));
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

QString valueOf(const QString &line)
{
    QString value = trimBlanks(QStringView(line).sliced(line.indexOf(QLatin1Char('=')) + 1));
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    if (value.size() > PrivateProfile::maxValueLength) {
        qsizetype length = PrivateProfile::maxValueLength;
        // Never leave half of a character made of two UTF-16 units.
        if (value.at(length - 1).isHighSurrogate())
            --length;
        value.truncate(length);
    }
    return value;
}

// The value as it goes after "=": quoted when reading would otherwise strip something.
QString storedForm(const QString &value)
{
    const bool edgeBlank = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool quoted =
        value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    if (edgeBlank || quoted)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

[[noreturn]] void refuse(const QString &path, const QString &reason)
{
    throw PlatformError(PlatformMessages::cannotWriteFile(path, reason));
}

} // namespace

QString PrivateProfile::readString(const QString &path, const QString &section, const QString &key,
                                   const QString &defaultValue)
{
    const QString wantedKey = trimBlanks(key);
    if (wantedKey.isEmpty() || !QFileInfo(path).exists())
        return defaultValue;
    const QStringList lines = SideFile::readLines(path);
    const std::optional<SectionRange> range = findSection(lines, trimBlanks(section));
    if (!range)
        return defaultValue;
    const qsizetype line = findKey(lines, *range, wantedKey);
    return line < 0 ? defaultValue : valueOf(lines.at(line));
}

void PrivateProfile::writeString(const QString &path, const QString &section, const QString &key,
                                 const QString &value)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (hasBreak(section) || sectionName.contains(QLatin1Char(']')))
        refuse(path, PlatformMessages::profileBadName(section));
    if (hasBreak(key) || keyName.isEmpty() || keyName.contains(QLatin1Char('=')) ||
        keyName.startsWith(QLatin1Char(';')) || keyName.startsWith(QLatin1Char('[')))
        refuse(path, PlatformMessages::profileBadName(key));
    if (hasBreak(value))
        refuse(path, PlatformMessages::lineBreakInText());
    if (value.size() > maxValueLength)
        refuse(path, PlatformMessages::profileValueTooLong(maxValueLength));

    QStringList lines;
    if (QFileInfo(path).exists())
        lines = SideFile::readLines(path);

    const QString stored = storedForm(value);
    const std::optional<SectionRange> range = findSection(lines, sectionName);
    if (!range) {
        lines.append(QLatin1Char('[') + sectionName + QLatin1Char(']'));
        lines.append(keyName + QLatin1Char('=') + stored);
    } else if (const qsizetype line = findKey(lines, *range, keyName); line >= 0) {
        // The key keeps its spelling in the file; only what follows "=" changes.
        lines[line] = *keyOf(lines.at(line)) + QLatin1Char('=') + stored;
    } else {
        // After the section's last non-blank line, so that blank lines separating it from the
        // next section stay between them.
        qsizetype after = range->end - 1;
        while (after > range->header && trimBlanks(lines.at(after)).isEmpty())
            --after;
        lines.insert(after + 1, keyName + QLatin1Char('=') + stored);
    }
    SideFile::writeLines(path, lines);
}
