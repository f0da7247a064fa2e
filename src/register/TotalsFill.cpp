#include "TotalsFill.h"

#include "TotalsCell.h"
#include "tables/CareAct.h"
#include "tables/CareEntryTable.h"
#include "tables/CpamRules.h"
#include "tables/TotalsSchema.h"

#include "platform/store/SqliteStatement.h"
#include "platform/store/TableDefinition.h"

#include <QByteArray>
#include <QDate>
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

// The columns of TotalsSchema::columnsQuery().
enum Column {
    Date,
    Name,
    Cost,
    Cpam,
    Mutual,
    Estimate,
    Partial,
    Base,
    Speciality,
    DateCpam,
    Refused,
    RowId
};

// A date text as the triggers read it: its two-digit year (-1 when it is not a real date) and
// the date itself.
struct DateText {
    int year = -1;
    QDate date;
};

// The kind of act of each distinct speciality, the same bytes as the last row's found at once.
class ActOfBytes
{
public:
    CareAct of(const QByteArray &bytes)
    {
        if (bytes == last_)
            return lastAct_;
        auto found = acts_.constFind(bytes);
        if (found == acts_.cend()) {
            const QByteArray kept(bytes.constData(), bytes.size());
            found = acts_.insert(kept, CareActs::of(QString::fromUtf8(kept)));
        }
        last_ = found.key();
        lastAct_ = *found;
        return lastAct_;
    }

private:
    QHash<QByteArray, CareAct> acts_;
    QByteArray last_;
    CareAct lastAct_ = CareAct::Consultation;
};

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
    QHash<QByteArray, DateText> dates; // each distinct date text judged once
    QHash<QByteArray, int> names;      // beneficiary bytes -> its number
    QList<QByteArray> nameBytes;
    ActOfBytes acts;
    QHash<std::pair<int, int>, TotalsCell> cells;

    SqliteStatement rows(db, TotalsSchema::columnsQuery());
    sqlite3_stmt *st = rows.handle();
    // As CAST(x AS TEXT) gives it (the same conversion as the statement's), without a copy.
    const auto textOf = [st](int column) {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
        return QByteArray::fromRawData(bytes, sqlite3_column_bytes(st, column));
    };
    const auto dateOf = [&](int column) {
        if (sqlite3_column_type(st, column) == SQLITE_NULL)
            return DateText();
        const QByteArray text = textOf(column);
        auto found = dates.constFind(text);
        if (found == dates.constEnd()) {
            // The date judged by SQLite itself.
            sqlite3_bind_text(yearOf.handle(), 1, text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
            yearOf.step();
            DateText judged;
            judged.year = int(yearOf.int64(0));
            yearOf.reset();
            const QByteArray kept(text.constData(), text.size());
            if (judged.year != -1)
                judged.date = QDate::fromString(QString::fromLatin1(kept), Qt::ISODate);
            found = dates.insert(kept, judged);
        }
        return *found;
    };
    const auto isVrai = [&](int column) {
        return sqlite3_column_type(st, column) != SQLITE_NULL &&
               textOf(column) == QByteArrayView("Vrai");
    };
    for (qint64 read = 0; rows.step(); ++read) {
        const DateText care = dateOf(Date);
        const QByteArray name =
            sqlite3_column_type(st, Name) == SQLITE_NULL ? QByteArray() : textOf(Name);
        auto number = names.constFind(name);
        if (number == names.constEnd()) {
            nameBytes.append(QByteArray(name.constData(), name.size()));
            number = names.insert(nameBytes.last(), int(nameBytes.size() - 1));
        }
        qint64 amounts[5];
        for (int i = 0; i < 5; ++i) {
            // sqlite3_column_double() converts as CAST(x AS REAL) does; none counts as 0.
            const double x = sqlite3_column_double(st, i < 4 ? Cost + i : Base) * 100.0;
            if (!(std::fabs(x) < ExactLimit))
                return false;
            amounts[i] = cents(x);
        }
        const auto [c, n, m, e, base] = amounts;
        const bool partial = isVrai(Partial);
        qint64 withheld = 0;
        if (!partial && !isVrai(Refused) && dateOf(DateCpam).year != -1) {
            const QByteArray speciality = sqlite3_column_type(st, Speciality) == SQLITE_NULL
                                              ? QByteArray()
                                              : textOf(Speciality);
            withheld =
                CpamRules::withheldIn({care.date, acts.of(speciality), base, c, n, c - (n + m)});
        }
        TotalsCell &cell = cells[{*number, care.year}];
        ++cell.count;
        if (!add(cell.cost, c) || !add(cell.cpam, n) || !add(cell.mutual, m) ||
            !add(cell.awaited, (partial ? e : c) - (n + m) - withheld) ||
            !add(cell.withheld, withheld))
            return false;
        if (progress && (read & 0xFFFF) == 0)
            progress(sqlite3_column_int64(st, RowId), lastRowid);
    }

    SqliteStatement insert(db, QStringLiteral("INSERT INTO %1 (Beneficiaire, Annee, Nombre, Cout, "
                                              "CPAM, Mutuelle, Attendu, Retenu) VALUES "
                                              "(?,?,?,?,?,?,?,?)")
                                   .arg(TableDefinition::quoted(TotalsSchema::SumsTable)));
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        const QByteArray &name = nameBytes[it.key().first];
        sqlite3_bind_text(insert.handle(), 1, name.constData(), int(name.size()), SQLITE_STATIC);
        const TotalsCell &cell = it.value();
        const qint64 values[] = {it.key().second, cell.count,   cell.cost,    cell.cpam,
                                 cell.mutual,     cell.awaited, cell.withheld};
        for (int i = 0; i < 7; ++i)
            insert.bindInt(2 + i, values[i]);
        insert.step();
        insert.reset();
    }
    return true;
}
