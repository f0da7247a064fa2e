#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Raw file contents for tests that check files byte for byte.
namespace FileBytes
{

inline void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

// The bytes of the file, or "<none>" when it cannot be read.
inline QByteArray of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<none>");
    return file.readAll();
}

} // namespace FileBytes
