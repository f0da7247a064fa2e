#pragma once

#include "platform/store/SchemaObject.h"

#include <vector>

// The sums' triggers as earlier versions of the program wrote them into TALO.DB. A file that
// still holds them is the program's own, not someone else's: it opens, and StoredTotals
// replaces them (they are not today's) with the sums rebuilt. Any other text under those
// names stays foreign.
namespace FormerTotalsSchema
{
const std::vector<SchemaObject> &objects();
} // namespace FormerTotalsSchema
