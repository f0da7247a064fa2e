#include "CareFilterRule.h"

#include "YearItems.h"

CareFilterRule::CareFilterRule(const QString &beneficiaryText, const QString &yearText)
    : beneficiary_(beneficiaryText), allYears_(yearText == YearItems::All),
      allBeneficiaries_(beneficiaryText == AllBeneficiaries), twoDigitYear_(-1)
{
    const QString digits = yearText.mid(2, 2);
    if (digits.size() == 2 && digits[0].isDigit() && digits[1].isDigit())
        twoDigitYear_ = digits.toInt();
}

bool CareFilterRule::showsEverything(const QString &beneficiaryText, const QString &yearText)
{
    return beneficiaryText == AllBeneficiaries && yearText == YearItems::All;
}

bool CareFilterRule::accepts(const QString &beneficiary, const QDate &careDate) const
{
    // The last two digits of the year, as characters 7 and 8 of the date written "dd/mm/yy".
    return acceptsTwoDigitYear(beneficiary,
                               careDate.isValid() ? ((careDate.year() % 100) + 100) % 100 : -1);
}

bool CareFilterRule::acceptsTwoDigitYear(const QString &beneficiary, int twoDigitYear) const
{
    if (allYears_)
        return beneficiary == beneficiary_;
    const bool yearMatches = twoDigitYear >= 0 && twoDigitYear == twoDigitYear_;
    if (allBeneficiaries_)
        return yearMatches;
    return yearMatches && beneficiary == beneficiary_;
}
