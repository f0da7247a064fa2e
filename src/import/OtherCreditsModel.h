#pragma once

#include "register/StatementLine.h"

#include <QAbstractTableModel>

#include <vector>

// The statement's credits from neither payer (date, label, amount), left aside: listed under
// one line of the import window, each cell made when it is drawn.
class OtherCreditsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Label, Amount, Columns };

    explicit OtherCreditsModel(const std::vector<StatementLine> &credits,
                               QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const std::vector<StatementLine> &credits_;
};
