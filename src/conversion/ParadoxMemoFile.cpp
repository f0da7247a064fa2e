#include "ParadoxMemoFile.h"

#include <QtEndian>

namespace
{
constexpr int Reference = 10;
constexpr quint8 OwnBlocks = 0xFF;
constexpr char SingleMemoBlock = 2;
constexpr char SharedBlock = 3;
constexpr int SingleHeader = 9;
constexpr int SlotTable = 12;
constexpr int SlotSize = 5;
constexpr int Slots = 64;
} // namespace

ParadoxMemoFile::ParadoxMemoFile(const QString &path) : file_(path)
{
    if (!path.isEmpty())
        file_.open(QIODevice::ReadOnly);
}

std::optional<QByteArray> ParadoxMemoFile::bytesAt(qint64 offset, qint64 length)
{
    if (!file_.isOpen() || offset < 0 || length < 0 || offset + length > file_.size() ||
        !file_.seek(offset))
        return std::nullopt;
    QByteArray bytes = file_.read(length);
    if (bytes.size() != length)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> ParadoxMemoFile::read(QByteArrayView field)
{
    if (field.size() < Reference)
        return std::nullopt;
    const char *reference = field.data() + field.size() - Reference;
    const quint32 offset = qFromLittleEndian<quint32>(reference);
    const quint32 length = qFromLittleEndian<quint32>(reference + 4);
    const qsizetype leader = field.size() - Reference;
    if (length == 0)
        return QByteArray();
    // A memo that fits in the record has no block in the memo file.
    if (offset == 0)
        return length <= quint32(leader) ? std::optional(field.first(length).toByteArray())
                                         : std::nullopt;
    const qint64 block = offset & ~quint32(0xFF);
    const quint8 slot = offset & 0xFF;
    const auto header = bytesAt(block, SlotTable + Slots * SlotSize);
    if (!header)
        return std::nullopt;
    if (slot == OwnBlocks) {
        if (header->at(0) != SingleMemoBlock ||
            qFromLittleEndian<quint32>(header->constData() + 3) != length)
            return std::nullopt;
        return bytesAt(block + SingleHeader, length);
    }
    if (header->at(0) != SharedBlock || slot >= Slots)
        return std::nullopt;
    const char *entry = header->constData() + SlotTable + slot * SlotSize;
    // The slot gives the memo's place and its length in 16-byte units, rounded up.
    if ((length + 15) / 16 != quint8(entry[1]))
        return std::nullopt;
    return bytesAt(block + quint8(entry[0]) * 16, length);
}
