#pragma once

#include <QString>

// At start, before any table is opened: what a stopped conversion left is cleared, and the
// Paradox tables found in the program directory (or kept in an archive while their table is
// missing) are offered for conversion. On yes they are converted under a progress window and
// a summary is shown; on no nothing is touched, their windows will say that they cannot be
// opened, and the offer is made again at the next start.
class ParadoxOffer
{
public:
    static void run(const QString &programDir);
};
