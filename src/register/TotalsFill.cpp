#include "TotalsFill.h"

#include "TotalsCell.h"
#include "tables/CareEntryTable.h"
#include "tables/TotalsSchema.h"

#include "platform/store/SqliteStatement.h"
#include "platform/store/TableDefinition.h"

#include <QByteArray>
#include <QHash>
#include <cmath>
#include <sqlite3.h>

namespace
{

// Past 2^53 a double no longer holds every integer: the rounding below could then part from
// SQLite's own arithmetic, which turns an integer overflow into a REAL.
constexpr double ExactLimit = 9007199254740992.0;

// TotalsSchema's rounding of x (finite, under ExactLimit): the integer part (CAST AS INTEGER
// truncates), then one unit away from zero from a fractional part of a half or more.
qint64 cents(double x)
{
    const auto whole = qint64(x);
    const double fraction = x - double(whole);
    return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

bool add(qint64 &sum, qint64 value)
{
    return !__builtin_add_overflow(sum, value, &sum);
}

} // namespace

void TotalsFill::run(sqlite3 *db, const Progress &progress)
{
    qint64 lastRowid = 0;
    {
        SqliteStatement last(db, QStringLiteral("SELECT max(rowid) FROM %1")
                                     .arg(TableDefinition::quoted(CareEntryTable::SqlName)));
        if (last.step())
            lastRowid = last.int64(0);
    }
    // Nothing is written before every row has been summed: a pass given up leaves the table
    // empty for the statement.
    if (!sumInOnePass(db, lastRowid, progress))
        SqliteStatement(db, TotalsSchema::fillStatement()).step();
    if (progress)
        progress(lastRowid, lastRowid);
}

bool TotalsFill::sumInOnePass(sqlite3 *db, qint64 lastRowid, const Progress &progress)
{
    SqliteStatement yearOf(db, TotalsSchema::yearQuery());
    QHash<QByteArray, int> years; // date text -> two-digit year
    QHash<QByteArray, int> names; // beneficiary bytes -> its number
    QList<QByteArray> nameBytes;
    QHash<std::pair<int, int>, TotalsCell> cells;

    SqliteStatement rows(db, TotalsSchema::columnsQuery());
    sqlite3_stmt *st = rows.handle();
    // As CAST(x AS TEXT) gives it (the same conversion as the statement's), without a copy.
    const auto textOf = [st](int column) {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
        return QByteArray::fromRawData(bytes, sqlite3_column_bytes(st, column));
    };
    for (qint64 read = 0; rows.step(); ++read) {
        int year = -1;
        if (sqlite3_column_type(st, 0) != SQLITE_NULL) {
            const QByteArray date = textOf(0);
            auto found = years.constFind(date);
            if (found == years.constEnd()) {
                // The date judged by SQLite itself, once per distinct text.
                sqlite3_bind_text(yearOf.handle(), 1, date.constData(), int(date.size()),
                                  SQLITE_TRANSIENT);
                yearOf.step();
                found =
                    years.insert(QByteArray(date.constData(), date.size()), int(yearOf.int64(0)));
                yearOf.reset();
            }
            year = *found;
        }
        const QByteArray name =
            sqlite3_column_type(st, 1) == SQLITE_NULL ? QByteArray() : textOf(1);
        auto number = names.constFind(name);
        if (number == names.constEnd()) {
            nameBytes.append(QByteArray(name.constData(), name.size()));
            number = names.insert(nameBytes.last(), int(nameBytes.size() - 1));
        }
        qint64 amounts[4];
        for (int i = 0; i < 4; ++i) {
            // sqlite3_column_double() converts as CAST(x AS REAL) does; none counts as 0.
            const double x = sqlite3_column_double(st, 2 + i) * 100.0;
            if (!(std::fabs(x) < ExactLimit))
                return false;
            amounts[i] = cents(x);
        }
        const auto [c, n, m, e] = amounts;
        const bool partial =
            sqlite3_column_type(st, 6) != SQLITE_NULL && textOf(6) == QByteArrayView("Vrai");
        TotalsCell &cell = cells[{*number, year}];
        ++cell.count;
        if (!add(cell.cost, c) || !add(cell.cpam, n) || !add(cell.mutual, m) ||
            !add(cell.awaited, (partial ? e : c) - (n + m)))
            return false;
        if (progress && (read & 0xFFFF) == 0)
            progress(sqlite3_column_int64(st, 7), lastRowid);
    }

    SqliteStatement insert(db, QStringLiteral("INSERT INTO %1 (Beneficiaire, Annee, Nombre, Cout, "
                                              "CPAM, Mutuelle, Attendu) VALUES (?,?,?,?,?,?,?)")
                                   .arg(TableDefinition::quoted(TotalsSchema::SumsTable)));
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        const QByteArray &name = nameBytes[it.key().first];
        sqlite3_bind_text(insert.handle(), 1, name.constData(), int(name.size()), SQLITE_STATIC);
        const TotalsCell &cell = it.value();
        const qint64 values[] = {it.key().second, cell.count,  cell.cost,
                                 cell.cpam,       cell.mutual, cell.awaited};
        for (int i = 0; i < 6; ++i)
            insert.bindInt(2 + i, values[i]);
        insert.step();
        insert.reset();
    }
    return true;
}
