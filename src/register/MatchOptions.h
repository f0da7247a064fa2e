#pragma once

#include <QtGlobal>

// Bounds of the search for the entries a payment settles: it never looks at more than this,
// so that a statement is matched in a moment whatever the size of the register.
struct MatchOptions {
    int maxEntries = 4;          // entries settled by one payment
    int windowDays = 180;        // cares older than this before the payment are not looked at
    int slackDays = 3;           // around the payer's usual delay, still usual
    qint64 toleranceCents = 100; // an approximate fit, offered to check, may miss by this much
    int maxCombinations = 5;     // combinations proposed for one payment
    int maxFits = 40;            // exact fits gathered for one payment
    int searchBudget = 200000;   // combinations tried for one payment
    int combinationPool = 80;    // likeliest candidates combined with others (approximate fits)
};
