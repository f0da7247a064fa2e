#pragma once

#include "platform/store/SchemaObject.h"

#include <QString>

#include <vector>

// The links between care entries and the proofs kept in the folder "Pièces/": one row per
// proof attached to an entry (entry number, stored file, the name the person sees, when it
// was added, its size and SHA-256). Created with its index and its trigger at the first
// attachment; a TALO.DB without it has no proofs. The trigger takes an entry's links with the
// entry, whichever connection deletes it, in the same transaction.
namespace ProofLinkSchema
{
inline const QString Table = QStringLiteral("TALO_PIECES");
inline const QString Index = QStringLiteral("TALO_PIECES_NUMERO");
inline const QString Trigger = QStringLiteral("TALO_PIECES_SUPPRESSION");

// The CREATE statements as the file's schema keeps them.
QString tableCreateSql();
QString indexCreateSql();
QString triggerCreateSql();
const std::vector<SchemaObject> &objects();
} // namespace ProofLinkSchema
