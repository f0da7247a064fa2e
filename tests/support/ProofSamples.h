#pragma once

#include "support/FileBytes.h"
#include "support/StoredRows.h"

#include "platform/store/TableStorage.h"
#include "tables/CareEntryTable.h"

#include <QDir>

// Files that pass for proofs by their signatures, and a program directory whose TALO.DB holds
// care entries to attach them to.
namespace ProofSamples
{

inline QByteArray pdf(const QByteArray &body = "1 0 obj << >> endobj")
{
    return "%PDF-1.4\n" + body + "\ntrailer << >>\n%%EOF\n";
}

inline QByteArray png(const QByteArray &body = "IHDR")
{
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + body;
}

inline QByteArray jpeg(const QByteArray &body = "JFIF")
{
    return QByteArray("\xFF\xD8\xFF\xE0", 4) + body + QByteArray("\xFF\xD9", 2);
}

inline QString write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(name);
    FileBytes::put(path, bytes);
    return path;
}

// TALO.DB with `entries` care entries, numbered 1 to `entries`.
inline void makeRegister(const QString &programDir, int entries)
{
    const TableDefinition &def = CareEntryTable::definition();
    if (!TableStorage::createFile(QDir(programDir).filePath(def.fileName()), def))
        qFatal("TALO.DB not created in %s", qPrintable(programDir));
    for (int i = 0; i < entries; ++i)
        StoredRows::add(programDir, def,
                        {{CareFields::DateSoins, QStringLiteral("02/03/24")},
                         {CareFields::Beneficiaire, QStringLiteral("DUPONT")},
                         {CareFields::Cout, QStringLiteral("25")}});
}

} // namespace ProofSamples
