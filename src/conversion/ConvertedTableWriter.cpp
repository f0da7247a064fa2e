#include "ConvertedTableWriter.h"

#include "ConversionError.h"
#include "ConversionMessages.h"

#include "platform/core/FileNames.h"
#include "platform/core/ParadoxSignature.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/store/TableStorage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
bool synced(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

// The journals SQLite and TableStorage::createFile leave beside a table file.
constexpr const char *Companions[] = {
    "",          "-wal",          "-shm",          "-journal",
    ".creation", ".creation-wal", ".creation-shm", ".creation-journal"};
} // namespace

QString ConvertedTableWriter::build(const TableDefinition &definition, const QString &destination,
                                    const std::vector<Record> &rows)
{
    QString temporary;
    {
        // Only for a unique name of our leftover pattern; the table is created there anew.
        QTemporaryFile name(FileNames::temporaryTemplate(destination));
        if (!name.open())
            throw ConversionError(
                ConversionMessages::cannotWrite(destination, PlatformMessages::writeFailed()));
        temporary = name.fileName();
    }
    try {
        TableStorage::createFile(temporary, definition);
        {
            TableStorage storage(definition, temporary);
            storage.insertAll(rows);
        }
        if (!synced(temporary))
            throw ConversionError(
                ConversionMessages::cannotWrite(destination, PlatformMessages::writeFailed()));
    } catch (const ConversionError &) {
        discard(temporary);
        throw;
    } catch (const PlatformError &e) {
        discard(temporary);
        throw ConversionError(ConversionMessages::cannotWrite(destination, e.message()));
    }
    return temporary;
}

void ConvertedTableWriter::putInPlace(const QString &built, const QString &destination)
{
    // A table that came meanwhile is someone's data: it is left alone.
    if (QFileInfo::exists(destination) && !ParadoxSignature::matches(destination)) {
        discard(built);
        throw ConversionError(ConversionMessages::cannotWrite(
            destination, ConversionMessages::tableInTheWay(destination)));
    }
    for (const char *suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(destination + QLatin1String(suffix));
    // One rename: the Paradox table is replaced, never missing.
    if (std::rename(QFile::encodeName(built).constData(),
                    QFile::encodeName(destination).constData()) != 0) {
        discard(built);
        throw ConversionError(
            ConversionMessages::cannotWrite(destination, PlatformMessages::replaceFailed()));
    }
    synced(QFileInfo(destination).absolutePath());
}

void ConvertedTableWriter::discard(const QString &built)
{
    for (const char *suffix : Companions)
        QFile::remove(built + QLatin1String(suffix));
}

void ConvertedTableWriter::write(const TableDefinition &definition, const QString &destination,
                                 const std::vector<Record> &rows)
{
    putInPlace(build(definition, destination, rows), destination);
}

void ConvertedTableWriter::removeLeftovers(const QString &destination)
{
    const QFileInfo info(destination);
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(.+)\\.[A-Za-z0-9]{6}\\.tmp(\\.creation)?(-wal|-shm|-journal)?$"));
    QDir folder(info.absolutePath());
    const QStringList hidden =
        folder.entryList({QStringLiteral(".*.tmp*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : hidden) {
        const QRegularExpressionMatch match = pattern.match(entry);
        if (match.hasMatch() &&
            match.captured(1).compare(info.fileName(), Qt::CaseInsensitive) == 0)
            folder.remove(entry);
    }
}
