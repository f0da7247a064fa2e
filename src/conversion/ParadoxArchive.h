#pragma once

#include <QString>
#include <QStringList>

// The folders "Tables Paradox", "Tables Paradox (2)"... of the program directory, where the
// original files of the converted tables are kept, byte for byte. The originals are copied in
// before the new table takes their place, so that at every moment the program directory holds
// either the Paradox table or its conversion, and a copy stopped half-way is only a hidden
// leftover of the archive.
class ParadoxArchive
{
public:
    // The archives of `programDir`, oldest first.
    static QStringList folders(const QString &programDir);

    // The newest archive holding a Paradox table named `tableFile`, or an empty string.
    static QString holding(const QString &programDir, const QString &tableFile);

    // The archive for the files `names` of `programDir`: the first whose files of those names
    // are either absent or the very same bytes (kept by a conversion that stopped before the
    // end), so that earlier originals are never overwritten. Created owner-only if need be.
    // Throws ConversionError.
    static QString choose(const QString &programDir, const QStringList &names);

    // Copies `names` from `programDir` into `archive`, each whole and synchronised, skipping
    // those already there. Returns the names it wrote. Throws ConversionError, the copies it
    // made removed.
    static QStringList copyInto(const QString &programDir, const QString &archive,
                                const QStringList &names);

    // Hidden temporary files of copies that were stopped before their end.
    static void removeLeftovers(const QString &archive);

    static bool sameBytes(const QString &a, const QString &b);
};
