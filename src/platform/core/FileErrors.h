#pragma once

#include <QString>

// The French errors of reading and writing files, the same whichever piece writes: a reason
// ("Le fichier est introuvable.", ...) inside "Impossible de lire/d'écrire le fichier ...".
class FileErrors
{
public:
    [[noreturn]] static void readFailed(const QString &path, const QString &reason);
    // `existed`: the file was there before, and is kept as it was.
    [[noreturn]] static void writeFailed(const QString &path, bool existed, const QString &reason);
    // Why a file could not be opened for writing, judged from what is on disk: a folder that
    // refuses new files (read-only medium, permissions, immutable) is named as such.
    static QString openForWritingReason(const QString &path);
    static QString folderWriteProtected(const QString &folder);
    static QString staleCompanionNotRemoved(const QString &path);
};
