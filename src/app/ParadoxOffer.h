#pragma once

#include <QString>

// At start, before any table is opened: the Paradox tables found in the program directory are
// offered for conversion. On yes they are converted and a summary is shown; on no nothing is
// touched and their windows will say that they cannot be opened.
class ParadoxOffer
{
public:
    static void run(const QString &programDir);
};
