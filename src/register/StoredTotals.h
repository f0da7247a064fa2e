#pragma once

#include "RegisterTotals.h"
#include "TotalsCell.h"
#include "TotalsFill.h"

#include "platform/store/SqliteDatabase.h"

#include <QString>
#include <functional>

// The sums kept inside TALO.DB per beneficiary and two-digit year (TotalsSchema), through a
// connection of its own: the totals of any view are read from a few cells instead of walking
// the rows. The connection is closed with the object, and leaves no log behind.
class StoredTotals
{
public:
    // Opens the file and makes sure the sums and their triggers are there, exactly as this
    // program writes them; otherwise drops and rebuilds them from every row in one transaction.
    // Run before the table reads its rows, so that the rebuild is not taken for another
    // program's write. Throws DatabaseError when that cannot be done (a read-only file, a full
    // disk, SQL objects in the file that are not the program's own): the file is then left as
    // it was. A rebuild tells how far it has read the rows through `progress`.
    explicit StoredTotals(const QString &path, const TotalsFill::Progress &progress = {});
    // Makes the sums equal `fromRows`, the cells of every row as the table read them: a write
    // the triggers did not see (a replaced row, the triggers dropped, the sums edited by hand)
    // is undone by a rebuild. Throws as the constructor does, and when even the rebuilt sums
    // differ: they cannot then be trusted.
    // True when they had to be built again.
    bool agreeWith(const TotalsCells &fromRows, const TotalsFill::Progress &progress = {});

    // Sums of the cells `inView` accepts, from the beneficiary and the two-digit year (-1 for
    // entries without a real date).
    using CellFilter = std::function<bool(const QString &beneficiary, int twoDigitYear)>;
    RegisterTotals sumsOf(const CellFilter &inView);

private:
    bool agrees(const TotalsCells &fromRows);
    bool upToDate();
    void rebuild(const TotalsFill::Progress &progress);
    // Every object named like ours, whatever its kind (a user may have made one).
    QList<std::pair<QString, QString>> objectsNamedLikeOurs();

    SqliteDatabase db_;
};
