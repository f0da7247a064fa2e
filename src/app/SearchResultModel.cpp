#include "SearchResultModel.h"

#include "platform/core/Formats.h"

SearchResultModel::SearchResultModel(QObject *parent) : QAbstractTableModel(parent) {}

void SearchResultModel::setHits(std::vector<CareSearchHit> hits)
{
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

const CareSearchHit *SearchResultModel::hit(int row) const
{
    if (row < 0 || size_t(row) >= hits_.size())
        return nullptr;
    return &hits_[size_t(row)];
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(hits_.size());
}

int SearchResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count;
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    const CareSearchHit *h = hit(index.row());
    if (!h)
        return {};
    if (role == Qt::TextAlignmentRole) {
        return int((index.column() == Cost ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return Formats::date(h->date);
    case Beneficiary:
        return h->beneficiary;
    case Doctor:
        return h->doctor;
    case Cost:
        return h->cost ? Formats::money(*h->cost) : QString();
    default:
        return {};
    }
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Date:
        return QStringLiteral("Date");
    case Beneficiary:
        return QStringLiteral("Bénéficiaire");
    case Doctor:
        return QStringLiteral("Médecin");
    case Cost:
        return QStringLiteral("Coût");
    default:
        return {};
    }
}
