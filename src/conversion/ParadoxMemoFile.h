#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <optional>

// The memo file (.MB) of a Paradox table, read here rather than through pxlib: the packaged
// pxlib overflows its stack as soon as it opens any memo file. A memo field in a record is its
// first bytes followed by a 10-byte reference (offset, length, modification number, little
// endian); the offset names a 4 KiB block of the memo file and, in its low byte, either the
// slot of a block shared by small memos or 0xFF for a memo that has blocks of its own.
class ParadoxMemoFile
{
public:
    // An empty path: the table came without its memo file.
    explicit ParadoxMemoFile(const QString &path);

    // The memo's bytes (empty for an empty memo), or nothing when they cannot be found.
    std::optional<QByteArray> read(QByteArrayView field);

private:
    std::optional<QByteArray> bytesAt(qint64 offset, qint64 length);

    QFile file_;
};
