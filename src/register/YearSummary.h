#pragma once

#include "CareFacts.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

class YearTotals;

// The year at a glance: for one year (or all years), per beneficiary and per speciality, the
// number of entries and how their cost splits between the C.P.A.M., the mutual insurer, what
// is still awaited from each of them, what is left to check once both have paid (an over-paid
// entry gives a negative amount there) and what the family bears, what the C.P.A.M. withheld by
// law included. The split columns of a row add up to its cost, and the three awaited columns to
// the register's "Remboursements attendus" over the same entries, as the follow-up's lines do.
// What was withheld is also told per person and calendar year, against its yearly caps.
class YearSummary
{
public:
    struct Row {
        QString name;
        int count = 0;
        qint64 cost = 0, cpam = 0, mutual = 0, awaitedCpam = 0, awaitedMutuelle = 0, toCheck = 0,
               family = 0;
        // Of the family's share, what the C.P.A.M. withheld, by kind of withholding.
        qint64 participations = 0, franchises = 0;
        qint64 awaited() const { return awaitedCpam + awaitedMutuelle + toCheck; }
        void add(const CareFacts &entry) { add(entry, entry.withheld()); }
        // With its withheld() told once by the caller.
        void add(const CareFacts &entry, qint64 withheld);
        void add(const Row &other);
    };

    // One person's withholdings in one calendar year (0: entries without a date).
    struct Withheld {
        QString name;
        int year = 0;
        qint64 participations = 0, franchises = 0;
        // "Alice (2024)"; "Alice (sans date)".
        QString personAndYear() const;
        // "12,00 € sur 50,00 €": how much of the yearly cap is used.
        static QString ofCap(qint64 cents);
    };

    static constexpr int AllYears = 0;
    static QString unspecifiedSpeciality() { return QStringLiteral("Non précisée"); }

    YearSummary(const YearTotals &totals, int year);
    YearSummary(const std::vector<CareFacts> &entries, int year);

    // The years that hold entries, most recent first.
    static QList<int> years(const std::vector<CareFacts> &entries);

    int year() const { return year_; }
    // Sorted by name; the total covers every row.
    const QList<Row> &byBeneficiary() const { return beneficiaries_; }
    const QList<Row> &bySpeciality() const { return specialities_; }
    const Row &total() const { return total_; }
    // Per person and year, sorted by name then year, those that had something withheld.
    const QList<Withheld> &withheld() const { return withheld_; }
    // Cost per month (January first) of the year; for all years, cost per year of `years()`.
    const QList<qint64> &costPerPeriod() const { return periods_; }
    // "01" to "12", or the years, matching costPerPeriod().
    const QStringList &periodLabels() const { return periodLabels_; }

private:
    int year_;
    QList<Row> beneficiaries_, specialities_;
    Row total_;
    QList<Withheld> withheld_;
    QList<qint64> periods_;
    QStringList periodLabels_;
};
