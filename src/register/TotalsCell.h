#pragma once

#include <QHash>
#include <QString>
#include <utility>

// The entries of one beneficiary in one two-digit year (-1: no real date), as TALO_TOTAUX keeps
// them: their number and their sums in cents, what the C.P.A.M. withheld included.
struct TotalsCell {
    qint64 count = 0;
    qint64 cost = 0;
    qint64 cpam = 0;
    qint64 mutual = 0;
    qint64 awaited = 0;
    qint64 withheld = 0;

    // A cell left by deletes counts nothing and stands for no cell at all.
    bool isEmpty() const { return *this == TotalsCell(); }
    bool operator==(const TotalsCell &) const = default;
};

// Cells by beneficiary and two-digit year.
using TotalsCells = QHash<std::pair<QString, int>, TotalsCell>;
