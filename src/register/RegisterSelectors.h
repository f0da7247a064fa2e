#pragma once

#include <QString>
#include <QStringList>

// What the register needs of the main window's two selectors (beneficiary and year): their
// shown texts, and changes to the beneficiary list. The window plugs its drop-down lists in;
// tests use PlainSelectors.
class RegisterSelectors
{
public:
    virtual ~RegisterSelectors() = default;

    virtual QString beneficiaryText() const = 0;
    virtual QString yearText() const = 0;
    virtual QStringList beneficiaryItems() const = 0;
    virtual void appendBeneficiary(const QString &name) = 0;
    virtual void removeBeneficiaryAt(int index) = 0;
    // Puts the year selector back on its first item ("TOUTES").
    virtual void selectFirstYear() = 0;
};
