#include "CareViewChoice.h"

#include "CareFilterRule.h"
#include "YearItems.h"

bool CareViewChoice::holds(const View &view, const QDate &careDate, const QString &beneficiary)
{
    return CareFilterRule::showsEverything(view.beneficiary, view.year) ||
           CareFilterRule(view.beneficiary, view.year).accepts(beneficiary, careDate);
}

CareViewChoice::View CareViewChoice::holding(const View &current, const QDate &careDate,
                                             const QString &beneficiary,
                                             const QStringList &yearItems,
                                             const QStringList &beneficiaryItems)
{
    if (holds(current, careDate, beneficiary))
        return current;
    View view = current;
    // Each selector is judged alone, the other on its "all" item.
    if (!holds({current.year, CareFilterRule::AllBeneficiaries}, careDate, beneficiary)) {
        const QString year = careDate.isValid() ? QString::number(careDate.year()) : QString();
        view.year = !year.isEmpty() && yearItems.contains(year) ? year : YearItems::All;
    }
    if (!holds({YearItems::All, current.beneficiary}, careDate, beneficiary)) {
        view.beneficiary = beneficiaryItems.contains(beneficiary) && !beneficiary.isEmpty()
                               ? beneficiary
                               : CareFilterRule::AllBeneficiaries;
    }
    // The rule is the selectors' own; a view that still hides the entry gives way to all.
    if (!holds(view, careDate, beneficiary))
        view = {YearItems::All, CareFilterRule::AllBeneficiaries};
    return view;
}
