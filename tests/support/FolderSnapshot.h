#pragma once

#include "FileBytes.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QString>

#include <map>

// Every file under a folder, hidden ones included, with its bytes: compared before and after
// an operation that must leave a folder as it found it.
namespace FolderSnapshot
{
using Files = std::map<QString, QByteArray>;

inline Files of(const QString &folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = FileBytes::of(path);
    }
    return files;
}
} // namespace FolderSnapshot
