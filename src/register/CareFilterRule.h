#pragma once

#include <QDate>
#include <QString>

// The per-row rule of the register's view, for the texts shown by the two selectors: a
// beneficiary ("TOUS" = all) and a year ("TOUTES" = all). Texts are compared exactly; a year is
// recognised by its last two digits only (the date written "dd/mm/yy" against characters 3 and
// 4 of the selector's text).
class CareFilterRule
{
public:
    CareFilterRule(const QString &beneficiaryText, const QString &yearText);

    // Both selectors on their "all" items: no filtering at all.
    static bool showsEverything(const QString &beneficiaryText, const QString &yearText);
    bool accepts(const QString &beneficiary, const QDate &careDate) const;
    // The same rule for every entry of a beneficiary in a two-digit year (-1: no real date).
    bool acceptsTwoDigitYear(const QString &beneficiary, int twoDigitYear) const;

    static inline const QString AllBeneficiaries = QStringLiteral("TOUS");

private:
    QString beneficiary_;
    bool allYears_;
    bool allBeneficiaries_;
    int twoDigitYear_; // -1 when the selector's text holds no year
};
