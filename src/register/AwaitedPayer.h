#pragma once

#include <QString>

// Who a care entry's awaited amount is still expected from: the national insurance while its
// payment date is empty, then the mutual insurer while its own is empty; once both have paid,
// what is left is a reimbursement to check or the family's own share.
enum class AwaitedPayer { Cpam, Mutuelle, ToCheck };

namespace AwaitedPayers
{
// "C.P.A.M.", "Mutuelle", "à vérifier".
QString text(AwaitedPayer payer);
inline constexpr AwaitedPayer all[] = {AwaitedPayer::Cpam, AwaitedPayer::Mutuelle,
                                       AwaitedPayer::ToCheck};
} // namespace AwaitedPayers
