#pragma once

#include "register/ReimbursementFollowUp.h"

#include <QAbstractTableModel>

#include <memory>

// The follow-up's lines for a view: date, beneficiary, doctor, cost, both reimbursements
// received, the awaited amount, its payer and the age ("45 jours", "3 mois", "2 ans"); the lines
// a reminder can still help (past 30 days, within the 2-year claim limit) in bold red.
class FollowUpModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Beneficiary, Doctor, Cost, Cpam, Mutual, Awaited, Payer, Age, Count };

    explicit FollowUpModel(QObject *parent = nullptr);

    void setFollowUp(std::shared_ptr<const ReimbursementFollowUp> followUp);
    const ReimbursementFollowUp *followUp() const { return followUp_.get(); }
    const ReimbursementFollowUp::Line *line(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const ReimbursementFollowUp> followUp_;
};
