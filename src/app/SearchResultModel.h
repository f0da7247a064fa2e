#pragma once

#include "register/CareSearch.h"

#include <QAbstractTableModel>

#include <vector>

// The entries a search found, one line each: care date, beneficiary, doctor and cost.
class SearchResultModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Beneficiary, Doctor, Cost, Count };

    explicit SearchResultModel(QObject *parent = nullptr);

    void setHits(std::vector<CareSearchHit> hits);
    const CareSearchHit *hit(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<CareSearchHit> hits_;
};
