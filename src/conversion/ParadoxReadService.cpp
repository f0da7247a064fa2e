#include "ParadoxReadService.h"

#include "ConversionError.h"
#include "ParadoxReader.h"

#include <QDataStream>
#include <QFile>
#include <QVariantList>

#include <cstdio>

namespace
{
// Rows go out in small batches, so that the reading process sees the work going on.
constexpr int RowsPerFlush = 64;
} // namespace

QString ParadoxReadService::argument()
{
    return QStringLiteral("--lire-paradox");
}

std::optional<int> ParadoxReadService::serveIfAsked(int argc, char *argv[])
{
    if (argc < 3 || argc > 4 || QString::fromLocal8Bit(argv[1]) != argument())
        return std::nullopt;
    return serve(QFile::decodeName(argv[2]), argc == 4 ? QFile::decodeName(argv[3]) : QString());
}

int ParadoxReadService::serve(const QString &tablePath, const QString &memoPath)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 3;
    QDataStream stream(&out);
    stream.setVersion(QDataStream::Qt_6_4);
    try {
        ParadoxReader reader(tablePath, memoPath);
        stream << quint8(Fields) << qint32(reader.fields().size());
        for (const ParadoxField &field : reader.fields())
            stream << field.name << qint32(field.type) << qint32(field.length);
        stream << qint32(reader.rowCount());
        out.flush();
        for (int i = 0; i < reader.rowCount(); ++i) {
            const ParadoxRow row = reader.row(i);
            stream << quint8(Row) << QVariantList(row.values.begin(), row.values.end())
                   << QList<qint32>(row.unreadable.begin(), row.unreadable.end());
            if (i % RowsPerFlush == RowsPerFlush - 1)
                out.flush();
        }
        stream << quint8(End);
    } catch (const ConversionError &e) {
        stream << quint8(Failure) << e.message();
    }
    out.flush();
    return stream.status() == QDataStream::Ok && out.error() == QFileDevice::NoError ? 0 : 3;
}
