#pragma once

#include "reference/BeneficiaryListOwner.h"
#include "register/RegisterSelectors.h"

#include <QMetaObject>
#include <QString>

#include <functional>

class QComboBox;

// The main window's two drop-down lists seen as the register's selectors and as the owner of
// the beneficiary name list. Only a user's choice re-applies the view: changes made here by
// the rules never do.
class ComboSelectors : public RegisterSelectors, public BeneficiaryListOwner
{
public:
    ComboSelectors(QComboBox &years, QComboBox &beneficiaries);
    ~ComboSelectors() override;
    ComboSelectors(const ComboSelectors &) = delete;
    ComboSelectors &operator=(const ComboSelectors &) = delete;

    // Filter switching, run after the list is replaced.
    void setViewSwitch(std::function<void()> switchView) { switchView_ = std::move(switchView); }

    QString beneficiaryText() const override;
    QString yearText() const override;
    QStringList beneficiaryItems() const override;
    QStringList yearItems() const;
    void appendBeneficiary(const QString &name) override;
    void removeBeneficiaryAt(int index) override;
    void selectFirstYear() override;
    void replaceBeneficiaries(const QStringList &items) override;

    // Both lists on their first items ("TOUS", "TOUTES").
    void selectFirstItems();

    // What both lists show, and showing it again; a text no longer listed is left as it is.
    struct View {
        QString year;
        QString beneficiary;
    };
    View view() const;
    void showView(const View &view);

private:
    QComboBox &years_;
    QComboBox &beneficiaries_;
    std::function<void()> switchView_;
    // The shown texts, followed as the lists change: the view's rule asks for them at every
    // row, and a list's own look-up costs far more than the rule.
    QString yearText_, beneficiaryText_;
    QMetaObject::Connection yearsFollowed_, beneficiariesFollowed_;
};
