#pragma once

#include "RegisterSelectors.h"

// The two selectors as plain lists, without widgets.
class PlainSelectors : public RegisterSelectors
{
public:
    PlainSelectors();

    QString beneficiaryText() const override;
    QString yearText() const override;
    QStringList beneficiaryItems() const override { return beneficiaries; }
    void appendBeneficiary(const QString &name) override { beneficiaries.append(name); }
    void removeBeneficiaryAt(int index) override;
    void selectFirstYear() override { yearIndex = 0; }

    QStringList beneficiaries;
    QStringList years;
    int beneficiaryIndex = 0;
    int yearIndex = 0;
};
