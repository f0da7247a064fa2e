#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The Windows-1252 ("ANSI") code page in which the side files were written on the original
// platform. Our own table rather than a system converter, so that every build decodes the same
// way: the five bytes the code page leaves undefined map to the C1 control of the same value,
// which makes decode then encode give back the very same bytes.
namespace Windows1252
{

QString decode(QByteArrayView bytes);

// The bytes of `text`, or nothing when some character has no place in the code page.
std::optional<QByteArray> encode(QStringView text);

} // namespace Windows1252
