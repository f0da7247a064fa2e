#pragma once

#include "platform/store/FormatVersion.h"

#include <vector>

// The history of each table file's format, oldest first: what the table looked like at each
// version and how a file of the version before is brought to it (FileFormat runs it at open).
// A shipped version is never edited: a change is a new version at the end (see
// docs/architecture.md, "Adding a column").
namespace TableFormats
{

// TALO.DB. Version 0 is every file made before the format had a number: with or without the
// sums (TALO_TOTAUX, rebuilt by the register whenever they are not its own), the statement
// ledger and the proofs' links (both made when first needed); its care table never changed.
std::vector<FormatVersion> careEntries();
// MEDECINS.DB and ASSURE.DB.
std::vector<FormatVersion> doctors();
std::vector<FormatVersion> insured();

} // namespace TableFormats
