#include "TotalsSchema.h"

#include "CareAct.h"
#include "CareEntryTable.h"
#include "CpamRulesSql.h"

#include <QStringList>

using namespace CareFields;

namespace
{

QString q(const QString &identifier)
{
    return TableDefinition::quoted(identifier);
}

QString careTable()
{
    // By name: the definition itself declares these objects as its companions.
    return q(CareEntryTable::SqlName);
}

// llround(x): truncation, then one more unit away from zero from a fractional part of a half
// or more (SQLite's round() differs at exact halves of small values).
QString roundedToCents(const QString &x)
{
    const QString whole = QStringLiteral("CAST(%1 AS INTEGER)").arg(x);
    return QStringLiteral("(%1 + (%2 - %1 >= 0.5) - (%2 - %1 <= -0.5))").arg(whole, x);
}

QString hundredfold(const QString &column)
{
    return QStringLiteral("CAST(coalesce(%1, 0) AS REAL) * 100.0").arg(column);
}

// One row per care entry of `from` (prefix "NEW.", "OLD." or none over the whole table), as
// read before rounding: date text d, beneficiary b, amounts times a hundred c (cost), n (CPAM),
// m (mutuelle), e (estimate), bs (base), the partial flag p, the speciality s, the C.P.A.M.'s
// date text dc and its refusal flag r.
QString unrounded(const QString &prefix, const QString &from)
{
    return QStringLiteral("SELECT CAST(%1 AS TEXT) AS d, coalesce(CAST(%2 AS TEXT), '') AS b, "
                          "%3 AS c, %4 AS n, %5 AS m, %6 AS e, %7 AS bs, "
                          "coalesce(CAST(%8 AS TEXT) = 'Vrai', 0) AS p, %9 AS s, ")
               .arg(prefix + q(DateSoins), prefix + q(Beneficiaire), hundredfold(prefix + q(Cout)),
                    hundredfold(prefix + q(MontantCPAM)), hundredfold(prefix + q(MontantMutuelle)),
                    hundredfold(prefix + q(Estimation)), hundredfold(prefix + q(Base)),
                    prefix + q(MutuelleOuiNon), prefix + q(Specialite)) +
           QStringLiteral("CAST(%1 AS TEXT) AS dc, coalesce(CAST(%2 AS TEXT) = 'Vrai', 0) AS r%3")
               .arg(prefix + q(DateCPAM), prefix + q(CPAMOuiNon), from);
}

// Moved by zero days, 2023-02-30 comes back as 2023-03-02: only a real date is unchanged.
QString isRealDate(const QString &text)
{
    return QStringLiteral("(date(%1, '+0 days') = %1 AND substr(%1, 1, 4) <> '0000')").arg(text);
}

const QString YearOfD = QStringLiteral("CASE WHEN %1 THEN CAST(substr(d, 3, 2) AS INTEGER) "
                                       "ELSE -1 END")
                            .arg(isRealDate(QStringLiteral("d")));

// The same rows with the two-digit year y, the amounts in cents and what the C.P.A.M. withheld
// by law from a written share, w (CpamRules::withheldIn).
QString contributions(const QString &prefix, const QString &from)
{
    const QString rounded =
        QStringLiteral("SELECT b, %1 AS y, d, %2 AS c, %3 AS n, %4 AS m, %5 AS e, %6 AS bs, p, s, "
                       "dc, r FROM (%7)")
            .arg(YearOfD, roundedToCents(QStringLiteral("c")), roundedToCents(QStringLiteral("n")),
                 roundedToCents(QStringLiteral("m")), roundedToCents(QStringLiteral("e")),
                 roundedToCents(QStringLiteral("bs")), unrounded(prefix, from));
    const QString shares =
        QStringLiteral("SELECT b, y, c, n, m, e, p, CASE WHEN y <> -1 THEN d END AS care, %1 AS "
                       "act, bs AS base, c AS cost, n AS paid, c - (n + m) AS room, coalesce(%2 "
                       "AND NOT r AND NOT p, 0) AS written FROM (%3)")
            .arg(CareActs::sqlOf(QStringLiteral("s")), isRealDate(QStringLiteral("dc")), rounded);
    return CpamRulesSql::withheldIn(shares, QStringLiteral("b, y, c, n, m, e, p"));
}

// What is withheld by law is the family's cost, not awaited.
const QString AwaitedOfRow = QStringLiteral("(CASE WHEN p THEN e ELSE c END - (n + m) - w)");

QString sumsColumns()
{
    return QStringLiteral("%1 (Beneficiaire, Annee, Nombre, Cout, CPAM, Mutuelle, Attendu, Retenu)")
        .arg(q(TotalsSchema::SumsTable));
}

// Adds (sign "") or takes away (sign "-") one entry's share in its cell.
QString upsert(const QString &prefix, const QString &sign)
{
    return QStringLiteral(
               "INSERT INTO %1 SELECT b, y, %2 1, %2 c, %2 n, %2 m, %2 %3, %2 w FROM (%4) WHERE 1 "
               "ON CONFLICT (Beneficiaire, Annee) DO UPDATE SET Nombre = Nombre + "
               "excluded.Nombre, Cout = Cout + excluded.Cout, CPAM = CPAM + excluded.CPAM, "
               "Mutuelle = Mutuelle + excluded.Mutuelle, Attendu = Attendu + excluded.Attendu, "
               "Retenu = Retenu + excluded.Retenu;")
        .arg(sumsColumns(), sign, AwaitedOfRow, contributions(prefix, QString()));
}

QString trigger(const QString &name, const QString &event, const QString &body)
{
    return QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN %4 END")
        .arg(q(name), event, careTable(), body);
}

} // namespace

const std::vector<SchemaObject> &TotalsSchema::objects()
{
    static const std::vector<SchemaObject> all = [] {
        const QString table = QStringLiteral("table"), kind = QStringLiteral("trigger");
        const QString added = SumsTable + QStringLiteral("_AJOUT");
        const QString removed = SumsTable + QStringLiteral("_SUPPRESSION");
        const QString changed = SumsTable + QStringLiteral("_MODIFICATION");
        QStringList read;
        for (const QString &f :
             {DateSoins, Beneficiaire, Cout, MontantCPAM, MontantMutuelle, MutuelleOuiNon,
              Estimation, Specialite, Base, DateCPAM, CPAMOuiNon})
            read.append(q(f));
        const QString old = QStringLiteral("OLD."), now = QStringLiteral("NEW.");
        return std::vector<SchemaObject>{
            {table, SumsTable,
             QStringLiteral("CREATE TABLE %1 (Beneficiaire TEXT NOT NULL, Annee INTEGER NOT NULL, "
                            "Nombre INTEGER NOT NULL, Cout INTEGER NOT NULL, CPAM INTEGER NOT "
                            "NULL, Mutuelle INTEGER NOT NULL, Attendu INTEGER NOT NULL, Retenu "
                            "INTEGER NOT NULL, PRIMARY KEY (Beneficiaire, Annee)) WITHOUT ROWID")
                 .arg(q(SumsTable))},
            {kind, added, trigger(added, QStringLiteral("INSERT"), upsert(now, QString()))},
            {kind, removed,
             trigger(removed, QStringLiteral("DELETE"), upsert(old, QStringLiteral("-")))},
            // Only the columns the sums read: a changed note costs nothing.
            {kind, changed,
             trigger(changed, QStringLiteral("UPDATE OF ") + read.join(QStringLiteral(", ")),
                     upsert(old, QStringLiteral("-")) + QLatin1Char(' ') + upsert(now, QString()))},
        };
    }();
    return all;
}

QString TotalsSchema::fillStatement()
{
    return QStringLiteral("INSERT INTO %1 SELECT b, y, count(*), sum(c), sum(n), sum(m), sum(%2), "
                          "sum(w) FROM (%3) GROUP BY b COLLATE BINARY, y")
        .arg(sumsColumns(), AwaitedOfRow,
             contributions(QString(), QStringLiteral(" FROM ") + careTable()));
}

QString TotalsSchema::cellsQuery()
{
    return QStringLiteral(
               "SELECT Beneficiaire, Annee, Nombre, Cout, CPAM, Mutuelle, Attendu, Retenu FROM %1")
        .arg(q(SumsTable));
}

QString TotalsSchema::columnsQuery()
{
    QStringList read;
    for (const QString &f : {DateSoins, Beneficiaire, Cout, MontantCPAM, MontantMutuelle,
                             Estimation, MutuelleOuiNon, Base, Specialite, DateCPAM, CPAMOuiNon})
        read.append(q(f));
    return QStringLiteral("SELECT %1, rowid FROM %2")
        .arg(read.join(QStringLiteral(", ")), careTable());
}

QString TotalsSchema::yearQuery()
{
    return QStringLiteral("SELECT %1 FROM (SELECT ?1 AS d)").arg(YearOfD);
}
