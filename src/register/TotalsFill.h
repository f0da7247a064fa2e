#pragma once

#include <QtGlobal>
#include <functional>

struct sqlite3;

// Fills the empty TALO_TOTAUX from every row of the care table in one pass: SQLite reads each
// row once and the cells are summed here as the rows come, without the sort a GROUP BY makes
// and with each date judged once however many entries share it. Every entry counts exactly as
// the triggers count it (TotalsSchema); an amount too large for that to be sure in double
// precision, or sums past 64 bits, leave the filling to TotalsSchema::fillStatement().
// Runs inside the caller's transaction; errors throw DatabaseError.
class TotalsFill
{
public:
    // Rows read so far and all of them, as rowids (monotonic, cheap to know beforehand).
    using Progress = std::function<void(qint64 done, qint64 total)>;

    static void run(sqlite3 *db, const Progress &progress = {});

private:
    // False when the rows hold what only the SQL statement counts surely.
    static bool sumInOnePass(sqlite3 *db, qint64 lastRowid, const Progress &progress);
};
