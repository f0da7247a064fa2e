#include "PaymentListModel.h"

#include "ImportSession.h"
#include "platform/core/Formats.h"

PaymentListModel::PaymentListModel(const ImportSession &session, QObject *parent)
    : QAbstractTableModel(parent), session_(session)
{
}

int PaymentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(session_.paymentCount());
}

int PaymentListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QString PaymentListModel::cut(const QString &label, int shown)
{
    const QString text = label.simplified();
    return text.size() <= shown ? text : text.left(shown - 1).trimmed() + QChar(0x2026);
}

QVariant PaymentListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= session_.paymentCount())
        return {};
    const size_t i = size_t(index.row());
    const PaymentProposal &p = session_.payment(i);
    if (role == Qt::TextAlignmentRole)
        return int((index.column() == Amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole) {
        if (index.column() == Label)
            return p.line.label.simplified();
        if (index.column() == State)
            return session_.state(i);
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return Formats::fullDate(p.line.date);
    case Label:
        return cut(p.line.label);
    case Payer:
        return AwaitedPayers::text(p.payer);
    case Amount:
        return ImportSession::money(p.line.cents);
    case State:
        return session_.state(i);
    default:
        return {};
    }
}

QVariant PaymentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titles{QStringLiteral("Date"), QStringLiteral("Libellé"),
                                    QStringLiteral("Payeur"), QStringLiteral("Montant"),
                                    QStringLiteral("État")};
    return titles.value(section);
}

void PaymentListModel::statesChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, State), index(rowCount() - 1, State));
}
