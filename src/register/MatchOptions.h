#pragma once

#include <QtGlobal>

// Bounds of the search for the entries a payment settles: it never looks at more than this,
// so that a statement is matched in a moment whatever the size of the register.
struct MatchOptions {
    int maxEntries = 6;          // entries settled by one payment
    int windowDays = 180;        // cares older than this before the payment are not looked at
    qint64 toleranceCents = 100; // a payment this far outside the predicted range still fits
    int maxCombinations = 5;     // combinations proposed for one payment
    int searchBudget = 20000;    // combinations tried for one payment
    int combinationPool = 80;    // likeliest candidates combined with others
};
