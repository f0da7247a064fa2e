#include "ParadoxSignature.h"

#include <QFile>
#include <QtEndian>

namespace
{
// Offsets in the header of a data file.
constexpr int RecordSize = 0x00;
constexpr int HeaderSize = 0x02;
constexpr int FileType = 0x04;
constexpr int BlockSizeUnits = 0x05;
constexpr int FieldCount = 0x21;
constexpr int FileVersion = 0x39;
constexpr int MinimalHeader = 0x58;

quint16 word(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}
} // namespace

bool ParadoxSignature::matches(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(MinimalHeader);
    if (head.size() < MinimalHeader)
        return false;
    // Only data files (keyed or not) are tables; index files are companions.
    const auto type = quint8(head[FileType]);
    const auto version = quint8(head[FileVersion]);
    const auto blockUnits = quint8(head[BlockSizeUnits]);
    return (type == 0 || type == 2) && version >= 3 && version <= 12 && blockUnits >= 1 &&
           blockUnits <= 32 && word(head, RecordSize) > 0 &&
           word(head, HeaderSize) >= MinimalHeader && word(head, FieldCount) > 0;
}
