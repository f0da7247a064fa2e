#pragma once

#include <QStringList>

// What the beneficiary name list window needs of the window that holds the authoritative list
// (the main window's beneficiary selector).
class BeneficiaryListOwner
{
public:
    virtual ~BeneficiaryListOwner() = default;
    virtual QStringList beneficiaryItems() const = 0;
    // Replaces the selector's items, selects entry 0 and re-applies the register's view.
    virtual void replaceBeneficiaries(const QStringList &items) = 0;
};
