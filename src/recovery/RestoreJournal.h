#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The marker of a file swap in progress: written and synced in the program directory before the
// first rename, removed after the last, so that a start after a crash knows which files were
// on their way and can finish the swap or undo it. Folders are named relative to the program
// directory; every move is a rename between it and one of them.
class RestoreJournal
{
public:
    QString asideFolder;   // "Avant restauration ...": where the current files go
    QString stagingFolder; // ".Restauration-XXXXXX": where the checked copies wait
    QStringList movedOut;  // current files, program directory -> aside folder, in order
    QStringList movedIn;   // copies, staging folder -> program directory, in order

    static QString fileName() { return QStringLiteral(".restauration-en-cours"); }
    static QString path(const QString &programDir);

    // Durable on return (the file and its folder entry synced). Throws PlatformError.
    void write(const QString &programDir) const;
    // None when no swap is in progress. Throws PlatformError with the French reason when the
    // journal cannot be read or is not one of ours.
    static std::optional<RestoreJournal> read(const QString &programDir);
    // Durable on return. Throws PlatformError.
    static void remove(const QString &programDir);
};
