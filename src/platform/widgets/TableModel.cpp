#include "TableModel.h"

#include "RowIndicator.h"

#include <exception>

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TableModel::setTable(Table *table)
{
    beginResetModel();
    m_table = table;
    m_columns.clear();
    if (m_table)
        buildColumns({});
    m_rows = m_table && m_table->isActive() ? m_table->shownRowCount() : 0;
    m_markerRow = -1;
    endResetModel();
}

void TableModel::setColumns(const QStringList &fieldNames)
{
    if (!m_table)
        return;
    for (const QString &name : fieldNames)
        m_table->fieldByName(name); // throws before anything changes
    beginResetModel();
    buildColumns(fieldNames);
    endResetModel();
}

void TableModel::buildColumns(const QStringList &fieldNames)
{
    m_columns.clear();
    const TableDefinition &def = m_table->definition();
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
        m_columns.push_back(std::move(column));
    }
}

int TableModel::fieldIndex(int column) const
{
    return column >= 0 && column < int(m_columns.size()) ? m_columns[size_t(column)].field : -1;
}

void TableModel::setTitleColor(const QColor &color)
{
    m_titleColor = color;
    if (!m_columns.empty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

void TableModel::setRowIndicator(bool on)
{
    m_indicator = on;
    if (m_markerRow >= 0 && m_markerRow < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, m_markerRow, m_markerRow);
}

void TableModel::setRowMarker(int row, Table::State state, int height)
{
    if (row == m_markerRow && state == m_markerState && height == m_markerHeight)
        return;
    const int old = m_markerRow;
    m_markerRow = row;
    m_markerState = state;
    m_markerHeight = height;
    if (!m_indicator)
        return;
    if (old >= 0 && old < m_rows && old != row)
        Q_EMIT headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

void TableModel::reload()
{
    beginResetModel();
    m_rows = m_table && m_table->isActive() ? m_table->shownRowCount() : 0;
    endResetModel();
}

void TableModel::valuesChanged()
{
    if (m_rows > 0 && !m_columns.empty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1),
                           {Qt::DisplayRole});
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!m_table || !index.isValid() || index.column() >= int(m_columns.size()))
        return QVariant();
    const Column &column = m_columns[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        try {
            const QString text = m_table->shownText(index.row(), column.field);
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
        if (section < 0 || section >= int(m_columns.size()))
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_columns[size_t(section)].title;
        if (role == Qt::ForegroundRole)
            return QBrush(m_titleColor);
        return QVariant();
    }
    if (role == Qt::DecorationRole && m_indicator && section == m_markerRow)
        return RowIndicator::pixmap(m_markerState, m_markerHeight);
    return QVariant();
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
