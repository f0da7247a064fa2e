#pragma once

#include "register/ReimbursementFollowUp.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <set>

// The follow-up's lines for a view: date, beneficiary, doctor, cost, both reimbursements
// received, the awaited amount, its payer and the age ("45 jours", "3 mois", "2 ans"); the lines
// a reminder can still help (past 30 days, within the 2-year claim limit) in bold red. The lines
// the mutuelle still owes carry a tick in their date column, for its file of proofs; ticks are
// kept by entry across a change of payer.
class FollowUpModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Beneficiary, Doctor, Cost, Cpam, Mutual, Awaited, Payer, Age, Count };

    explicit FollowUpModel(QObject *parent = nullptr);

    void setFollowUp(std::shared_ptr<const ReimbursementFollowUp> followUp);
    const ReimbursementFollowUp *followUp() const { return followUp_.get(); }
    // The line shown at `row`, none out of range.
    std::optional<ReimbursementFollowUp::Line> line(int row) const;

    // Only the lines the mutuelle owes can be ticked.
    bool tickable(int row) const;
    // Ticks or unticks a tickable line; false for any other.
    bool toggle(int row);
    // The entries ticked (row ids), whatever lines are shown.
    const std::set<qint64> &ticked() const { return ticked_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    bool holds(int row) const;

    std::shared_ptr<const ReimbursementFollowUp> followUp_;
    std::set<qint64> ticked_;
};
