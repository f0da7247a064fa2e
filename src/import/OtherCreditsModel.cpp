#include "OtherCreditsModel.h"

#include "ImportSession.h"
#include "PaymentListModel.h"
#include "platform/core/Formats.h"

OtherCreditsModel::OtherCreditsModel(const std::vector<StatementLine> &credits, QObject *parent)
    : QAbstractTableModel(parent), credits_(credits)
{
}

int OtherCreditsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(credits_.size());
}

int OtherCreditsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant OtherCreditsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= credits_.size())
        return {};
    const StatementLine &line = credits_[size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return int((index.column() == Amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == Label)
        return line.label.simplified();
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return Formats::fullDate(line.date);
    case Label:
        return PaymentListModel::cut(line.label);
    case Amount:
        return ImportSession::money(line.cents);
    default:
        return {};
    }
}

QVariant OtherCreditsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titles{QStringLiteral("Date"), QStringLiteral("Libellé"),
                                    QStringLiteral("Montant")};
    return titles.value(section);
}
