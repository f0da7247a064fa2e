#include "AutomaticCopyRecord.h"

#include "platform/core/PlatformError.h"
#include "platform/core/SideFile.h"

#include <QDir>
#include <QFileInfo>

namespace
{

const QString rankKey = QStringLiteral("rang=");
const QString madeKey = QStringLiteral("faite=");

} // namespace

void AutomaticCopyRecord::write(const QString &folder, qint64 rank, const QDateTime &madeAt)
{
    SideFile::writeLines(QDir(folder).filePath(fileName()),
                         {rankKey + QString::number(rank), madeKey + madeAt.toString(Qt::ISODate)});
}

std::optional<qint64> AutomaticCopyRecord::rank(const QString &folder)
{
    const QString path = QDir(folder).filePath(fileName());
    if (!QFileInfo::exists(path))
        return std::nullopt;
    try {
        for (const QString &line : SideFile::readLines(path)) {
            if (!line.startsWith(rankKey))
                continue;
            bool ok = false;
            const qint64 value = line.mid(rankKey.size()).toLongLong(&ok);
            if (ok && value > 0)
                return value;
        }
    } catch (const PlatformError &) {
        // Unreadable: ranked with the copies that have no record.
    }
    return std::nullopt;
}
