#pragma once

#include "platform/core/EditMask.h"
#include "platform/store/Table.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QPointer>

#include <optional>
#include <vector>

// The rows of a table as a grid shows them: one column per chosen field, the text of each cell
// asked from the table only when a view paints it, so that a table of any size costs nothing
// per row. It does not follow the table by itself: its grid tells it what changed, in the order
// the grid needs.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TableModel(QObject *parent = nullptr);

    // The columns become the table's visible fields.
    void setTable(Table *table);
    Table *table() const { return table_; }
    // The fields shown, in this order; empty: the visible fields in field order. Throws
    // DatabaseError for a name the table does not have, the columns then unchanged.
    void setColumns(const QStringList &fieldNames);
    int fieldIndex(int column) const;

    void setTitleColor(const QColor &color);
    QColor titleColor() const { return titleColor_; }
    void setMarkerColor(const QColor &color);
    // The marker of the row indicator (a vertical header's decoration); row -1 for none.
    void setRowIndicator(bool on);
    void setRowMarker(int row, Table::State state, int height);
    int markerRow() const { return markerRow_; }

    // Rows, order or filter changed.
    void reload();
    // Values of shown rows changed (the record being edited): views repaint what they show.
    void valuesChanged();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Column {
        int field;
        QString title;
        Qt::Alignment alignment;
        // Set when the stored value leaves out the mask's literals: shown through the mask.
        std::optional<EditMask> mask;
    };

    void buildColumns(const QStringList &fieldNames);

    QPointer<Table> table_;
    std::vector<Column> columns_;
    int rows_ = 0;
    QColor titleColor_ = Qt::blue;
    QColor markerColor_ = Qt::black;
    bool indicator_ = false;
    int markerRow_ = -1;
    Table::State markerState_ = Table::State::Inactive;
    int markerHeight_ = 16;
};
