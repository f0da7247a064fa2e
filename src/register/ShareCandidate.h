#pragma once

#include <QtGlobal>

// One amount a payer may pay for a care entry, as its arithmetic makes it: for the C.P.A.M.
// its rate of the base (`full`) less what the law withholds; for the mutuelle its contract's
// share. `learned` when the rate, base and withholding were read from the entry or the
// family's own history rather than taken by default.
struct ShareCandidate {
    qint64 amount = 0;
    qint64 full = 0;     // the C.P.A.M.'s share before its withholding
    qint64 withheld = 0; // what the C.P.A.M. withholds by law in this candidate
    bool learned = false;

    bool operator==(const ShareCandidate &) const = default;
};
