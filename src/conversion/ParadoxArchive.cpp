#include "ParadoxArchive.h"

#include "ConversionError.h"
#include "ConversionMessages.h"

#include "platform/core/AtomicFileWriter.h"
#include "platform/core/FileNames.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace
{
constexpr qint64 Chunk = 1 << 20;
constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The archive's number: 1 for "Tables Paradox", n for "Tables Paradox (n)", 0 for another name.
int numberOf(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^%1(?: \\((\\d+)\\))?$")
            .arg(QRegularExpression::escape(ConversionMessages::archiveFolderName())));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return 0;
    return match.capturedLength(1) > 0 ? match.captured(1).toInt() : 1;
}

QString nameOf(int number)
{
    return number == 1
               ? ConversionMessages::archiveFolderName()
               : ConversionMessages::archiveFolderName() + QStringLiteral(" (%1)").arg(number);
}
} // namespace

QStringList ParadoxArchive::folders(const QString &programDir)
{
    const QDir dir(programDir);
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString &name) { return numberOf(name) == 0; }),
                names.end());
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return numberOf(a) < numberOf(b); });
    QStringList paths;
    for (const QString &name : names)
        paths.append(dir.filePath(name));
    return paths;
}

QString ParadoxArchive::holding(const QString &programDir, const QString &tableFile)
{
    const QStringList archives = folders(programDir);
    for (auto it = archives.rbegin(); it != archives.rend(); ++it) {
        if (ParadoxSignature::matches(FileNames::resolve(*it, tableFile)))
            return *it;
    }
    return QString();
}

QString ParadoxArchive::choose(const QString &programDir, const QStringList &names)
{
    const QDir dir(programDir);
    auto fits = [&](const QString &archive) {
        return std::all_of(names.begin(), names.end(), [&](const QString &name) {
            const QString kept = FileNames::resolve(archive, name);
            return !QFileInfo::exists(kept) || sameBytes(kept, dir.filePath(name));
        });
    };
    int number = 1;
    while (!fits(dir.filePath(nameOf(number))))
        ++number;
    const QString archive = dir.filePath(nameOf(number));
    if (!QFileInfo(archive).isDir() && !dir.mkdir(nameOf(number), OwnerOnly))
        throw ConversionError(ConversionMessages::archiveNotCreated(archive));
    // Health data: an archive an earlier version made readable by all becomes the owner's.
    QFile::setPermissions(archive, OwnerOnly);
    return archive;
}

QStringList ParadoxArchive::copyInto(const QString &programDir, const QString &archive,
                                     const QStringList &names)
{
    const QDir from(programDir);
    const QDir to(archive);
    QStringList written;
    try {
        for (const QString &name : names) {
            if (QFileInfo::exists(to.filePath(name)))
                continue; // the same bytes: choose() made sure of it
            QFile source(from.filePath(name));
            if (!source.open(QIODevice::ReadOnly))
                throw ConversionError(ConversionMessages::cannotCopy(
                    source.fileName(), archive, ConversionMessages::originalUnreadable()));
            AtomicFileWriter copy(to.filePath(name));
            while (!source.atEnd()) {
                const QByteArray bytes = source.read(Chunk);
                if (bytes.isEmpty() && source.error() != QFileDevice::NoError)
                    throw ConversionError(ConversionMessages::cannotCopy(
                        source.fileName(), archive, ConversionMessages::originalUnreadable()));
                copy.write(bytes);
            }
            copy.commit();
            written.append(name);
        }
    } catch (const PlatformError &e) {
        for (const QString &name : written)
            QFile::remove(to.filePath(name));
        if (dynamic_cast<const ConversionError *>(&e))
            throw;
        throw ConversionError(e.message());
    }
    return written;
}

void ParadoxArchive::removeLeftovers(const QString &archive)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.[A-Za-z0-9]{6}\\.tmp$"));
    QDir dir(archive);
    const QStringList hidden = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : hidden) {
        if (pattern.match(entry).hasMatch())
            dir.remove(entry);
    }
}

bool ParadoxArchive::sameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) ||
        !second.open(QIODevice::ReadOnly))
        return false;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(Chunk);
        if (chunk.isEmpty() || chunk != second.read(Chunk))
            return false;
    }
    return true;
}
