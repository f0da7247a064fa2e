#include "ConvertedTableWriter.h"

#include "ConversionError.h"
#include "ConversionMessages.h"

#include "platform/core/AtomicFileWriter.h"
#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PlatformMessages.h"
#include "platform/store/TableStorage.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
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

void removeWithCompanions(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal", ".creation"})
        QFile::remove(path + QLatin1String(suffix));
}
} // namespace

void ConvertedTableWriter::write(const TableDefinition &definition, const QString &destination,
                                 const std::vector<Record> &rows)
{
    AtomicFileWriter::removeLeftovers(destination);
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
        // A table that came meanwhile is someone's data: it is left alone.
        if (QFileInfo::exists(destination))
            throw ConversionError(ConversionMessages::cannotWrite(
                destination, ConversionMessages::tableInTheWay(destination)));
        for (const char *suffix : {"-wal", "-shm", "-journal"})
            QFile::remove(destination + QLatin1String(suffix));
        if (!QFile::rename(temporary, destination))
            throw ConversionError(
                ConversionMessages::cannotWrite(destination, PlatformMessages::replaceFailed()));
        synced(QFileInfo(destination).absolutePath());
    } catch (const ConversionError &) {
        removeWithCompanions(temporary);
        throw;
    } catch (const PlatformError &e) {
        removeWithCompanions(temporary);
        throw ConversionError(ConversionMessages::cannotWrite(destination, e.message()));
    }
}
