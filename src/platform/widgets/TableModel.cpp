#include "TableModel.h"

#include "RowIndicator.h"

#include <exception>

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TableModel::setTable(Table *table)
{
    beginResetModel();
    table_ = table;
    columns_.clear();
    if (table_)
        buildColumns({});
    rows_ = table_ && table_->isActive() ? table_->shownRowCount() : 0;
    markerRow_ = -1;
    endResetModel();
}

void TableModel::setColumns(const QStringList &fieldNames)
{
    if (!table_)
        return;
    for (const QString &name : fieldNames)
        table_->fieldByName(name); // throws before anything changes
    beginResetModel();
    buildColumns(fieldNames);
    endResetModel();
}

void TableModel::buildColumns(const QStringList &fieldNames)
{
    columns_.clear();
    const TableDefinition &def = table_->definition();
    QList<int> fields;
    if (fieldNames.isEmpty()) {
        for (int i = 0; i < def.fieldCount(); ++i) {
            if (def.field(i).visible)
                fields.append(i);
        }
    } else {
        for (const QString &name : fieldNames)
            fields.append(def.indexOf(name));
    }
    for (int i : fields) {
        const FieldDef &f = def.field(i);
        Column column{i, f.label(), f.alignment, std::nullopt};
        if (!f.editMask.isEmpty()) {
            EditMask mask(f.editMask);
            if (!mask.isEmpty() && !mask.savesLiterals())
                column.mask = mask;
        }
        columns_.push_back(std::move(column));
    }
}

int TableModel::fieldIndex(int column) const
{
    return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)].field : -1;
}

void TableModel::setMarkerColor(const QColor &color)
{
    markerColor_ = color;
    if (indicator_ && markerRow_ >= 0 && markerRow_ < rows_)
        Q_EMIT headerDataChanged(Qt::Vertical, markerRow_, markerRow_);
}

void TableModel::setTitleColor(const QColor &color)
{
    titleColor_ = color;
    if (!columns_.empty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
}

void TableModel::setRowIndicator(bool on)
{
    indicator_ = on;
    if (markerRow_ >= 0 && markerRow_ < rows_)
        Q_EMIT headerDataChanged(Qt::Vertical, markerRow_, markerRow_);
}

void TableModel::setRowMarker(int row, Table::State state, int height)
{
    if (row == markerRow_ && state == markerState_ && height == markerHeight_)
        return;
    const int old = markerRow_;
    markerRow_ = row;
    markerState_ = state;
    markerHeight_ = height;
    if (!indicator_)
        return;
    if (old >= 0 && old < rows_ && old != row)
        Q_EMIT headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows_)
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

void TableModel::reload()
{
    beginResetModel();
    rows_ = table_ && table_->isActive() ? table_->shownRowCount() : 0;
    endResetModel();
}

void TableModel::valuesChanged()
{
    if (rows_ > 0 && !columns_.empty())
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1),
                           {Qt::DisplayRole});
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!table_ || !index.isValid() || index.column() >= int(columns_.size()))
        return QVariant();
    const Column &column = columns_[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        try {
            const QString text = table_->shownText(index.row(), column.field);
            return column.mask ? column.mask->formatForDisplay(text) : text;
        } catch (const std::exception &) {
            // A calculated field whose handler fails shows empty rather than stop the paint.
            return QVariant();
        }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(column.alignment | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= int(columns_.size()))
            return QVariant();
        if (role == Qt::DisplayRole)
            return columns_[size_t(section)].title;
        if (role == Qt::ForegroundRole)
            return QBrush(titleColor_);
        return QVariant();
    }
    if (role == Qt::DecorationRole && indicator_ && section == markerRow_)
        return RowIndicator::pixmap(markerState_, markerHeight_, markerColor_);
    return QVariant();
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
