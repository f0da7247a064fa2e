#include "FollowUpModel.h"

#include "platform/core/Formats.h"
#include "platform/widgets/TextContrast.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPalette>

namespace
{

// Dark red where the list's background lets it be read, a lighter red elsewhere.
QColor lateColour()
{
    const QPalette palette = QApplication::palette();
    return TextContrast::readable(
        QColor(0xb0, 0x00, 0x00),
        {palette.color(QPalette::Base), palette.color(QPalette::AlternateBase)});
}

} // namespace

FollowUpModel::FollowUpModel(QObject *parent) : QAbstractTableModel(parent) {}

void FollowUpModel::setFollowUp(std::shared_ptr<const ReimbursementFollowUp> followUp)
{
    beginResetModel();
    followUp_ = std::move(followUp);
    endResetModel();
}

bool FollowUpModel::holds(int row) const
{
    return followUp_ && row >= 0 && size_t(row) < followUp_->size();
}

std::optional<ReimbursementFollowUp::Line> FollowUpModel::line(int row) const
{
    if (!holds(row))
        return std::nullopt;
    return followUp_->line(size_t(row));
}

bool FollowUpModel::tickable(int row) const
{
    return holds(row) && followUp_->payer(size_t(row)) == AwaitedPayer::Mutuelle;
}

bool FollowUpModel::toggle(int row)
{
    if (!tickable(row))
        return false;
    const qint64 id = followUp_->rowId(size_t(row));
    if (!ticked_.erase(id))
        ticked_.insert(id);
    Q_EMIT dataChanged(index(row, Date), index(row, Date), {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags FollowUpModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Date && tickable(index.row()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool FollowUpModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != Date || !tickable(index.row()))
        return false;
    const bool wanted = value.toInt() == Qt::Checked;
    const bool now = ticked_.count(followUp_->rowId(size_t(index.row()))) != 0;
    return wanted == now || toggle(index.row());
}

int FollowUpModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !followUp_ ? 0 : int(followUp_->size());
}

int FollowUpModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count;
}

QVariant FollowUpModel::data(const QModelIndex &index, int role) const
{
    if (!holds(index.row()))
        return {};
    const auto row = size_t(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        // The line's texts are fetched for the cells painted only.
        const std::optional<ReimbursementFollowUp::Line> l = line(index.row());
        switch (column) {
        case Date:
            return Formats::date(l->date);
        case Beneficiary:
            return l->beneficiary;
        case Doctor:
            return l->doctor;
        case Cost:
            return Formats::money(l->cost);
        case Cpam:
            return Formats::money(l->cpam);
        case Mutual:
            return Formats::money(l->mutual);
        case Awaited:
            return Formats::money(l->awaited);
        case Payer:
            return AwaitedPayers::text(l->payer);
        case Age:
            return AgeBands::text(l->ageInDays);
        default:
            return {};
        }
    }
    case Qt::CheckStateRole:
        if (column != Date || !tickable(index.row()))
            return {};
        return ticked_.count(followUp_->rowId(row)) ? Qt::Checked : Qt::Unchecked;
    case Qt::AccessibleDescriptionRole:
        if (column != Date || !tickable(index.row()))
            return {};
        return ticked_.count(followUp_->rowId(row)) ? QStringLiteral("coché pour le dossier")
                                                    : QStringLiteral("non coché");
    case Qt::TextAlignmentRole:
        if (column == Date || column == Beneficiary || column == Doctor || column == Payer)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return followUp_->late(row) ? QBrush(lateColour()) : QVariant();
    case Qt::FontRole:
        if (column == Awaited || followUp_->late(row)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant FollowUpModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[] = {"Date",     "Bénéficiaire", "Médecin", "Coût", "C.P.A.M.",
                                         "Mutuelle", "Attendu",      "Payeur",  "Âge"};
    return section >= 0 && section < Count ? QString::fromUtf8(titles[section]) : QVariant();
}
