#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// The proofs a TALO.DB links, checked in a "Pièces/" folder (the program's, a backup's, a
// restore's): each stored file present as a regular file of its own, of the recorded size and
// SHA-256. Used before a copy is called good and before a copy is restored.
namespace ProofInventory
{

// Whether `name` is a stored file's name: 64 lower-case hexadecimal digits and the extension
// of a kept kind. Anything else (a path, "..") is never used to reach a file.
bool isStoredName(const QString &name);

// The SHA-256 of a file, read in chunks; empty when it cannot be read.
QByteArray sha256Of(const QString &path);

// Throws ProofError with the French reason of the first proof missing, altered or named
// wrongly. Files named in `hashed` were hashed by the caller already and are checked for
// presence and size only. Returns the number of links.
int verify(const QString &taloDbPath, const QString &proofsFolder,
           const QSet<QString> &hashed = {});

} // namespace ProofInventory
