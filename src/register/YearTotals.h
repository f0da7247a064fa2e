#pragma once

#include "YearSummary.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <vector>

class Table;

// What a year summary is made of, gathered in one pass over the register: the summary rows
// per year and beneficiary and per year and speciality (as typed), and the cost per month of
// each year. Any year's summary, or all years', is then a sum over these few groups instead of
// a pass over every entry.
class YearTotals
{
public:
    explicit YearTotals(const std::vector<CareFacts> &entries);
    // Every entry of the table whatever its filter, straight from its packed rows: the cursor,
    // the filter and the bound controls are left alone.
    static YearTotals readAll(const Table &table);

    // The years that hold entries, most recent first.
    const QList<int> &years() const { return years_; }

    struct Group {
        int year = 0; // 0 for an entry without a date
        QString name; // the beneficiary, or the speciality as typed
        YearSummary::Row row;
    };
    const std::vector<Group> &byBeneficiary() const { return beneficiaries_; }
    const std::vector<Group> &bySpeciality() const { return specialities_; }
    // Cost per month (January first) of a year that holds entries.
    std::array<qint64, 12> months(int year) const { return months_.value(year); }

private:
    class Gathering;
    YearTotals() = default;

    std::vector<Group> beneficiaries_, specialities_;
    QHash<int, std::array<qint64, 12>> months_;
    QList<int> years_;
};
