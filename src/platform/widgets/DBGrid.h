#pragma once

#include "GridKeySearch.h"
#include "TableModel.h"
#include "platform/store/Table.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTableView>

#include <functional>

// A read-only grid over a table: one row per shown record, whole-row selection following the
// table's current record both ways (a click or a move key moves the table; any move of the table
// moves the selection) and Ctrl+Delete deletes after the platform's question. Leaving the grid
// never drops a new record: the window moves the focus to the first field right after Insert,
// and an untouched new record is dropped by the table's next move or cancel. Rows have one
// fixed height and cells are read only when painted, so a table of any size scrolls smoothly.
class DBGrid : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext WRITE setHelpContext)

public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    // Columns: the fields marked visible, in field order.
    void bind(Table &table);
    Table *table() const { return table_; }
    TableModel *tableModel() const { return model_; }
    // The fields shown, in this order (empty: the visible fields). Throws DatabaseError for a
    // name the table does not have.
    void setColumns(const QStringList &fieldNames);

    // A narrow column at the left marking the current row (arrow), a record in edit (I-beam) or
    // a new record (asterisk).
    void setRowIndicator(bool on);
    bool hasRowIndicator() const { return rowIndicator_; }
    // Ctrl+Delete asks "Supprimer l'enregistrement ?" first (on by default).
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    bool confirmDelete() const { return confirmDelete_; }
    // The column titles' colour (blue by default), made lighter or darker where the palette's
    // header would not let it be read.
    void setTitleColor(const QColor &color);

    // The help topic F1 opens over the grid; the window reads it.
    int helpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }

    // Letters typed in the grid go to the first row whose `fieldName` starts with them
    // (GridKeySearch). Throws DatabaseError for a name the table does not have.
    void setKeySearchField(const QString &fieldName);

    // Width in pixels of a column of `characters` digits of the grid's font, or of its title or
    // of `widest` (the widest text the column can show) when they are wider.
    int columnWidthFor(int characters, const QString &title,
                       const QString &widest = QString()) const;
    // The widest text a field can show: any amount up to 999 999,99 with its sign and currency,
    // a masked value with every position filled; empty for free text.
    static QString widestText(const FieldDef &field);
    // The columns of free text share the width the other columns leave in the viewport, in
    // proportion to their own widths (never below their titles), so that no horizontal scroll
    // bar is needed when the window is wide enough for the titles.
    void setFillWidth(bool on);
    // Rows a page move goes by: those the viewport shows whole.
    int rowsPerPage() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dataSetChanged();
    void recordChanged();
    void stateChanged();
    void fieldChanged();
    void followTable();
    void moveTableTo(int row);
    void runMove(const std::function<void(Table &)> &move);
    void deleteCurrent();
    bool searchTyped(const QKeyEvent &event);
    void applyMetrics();
    void fillWidth();
    void scrollToCurrentRow();
    void keepTopRowWhole();
    void applyColours();

    QPointer<Table> table_;
    TableModel *model_;
    QList<QMetaObject::Connection> connections_;
    bool rowIndicator_ = false;
    bool confirmDelete_ = true;
    bool fillWidth_ = false;
    QList<int> naturalWidths_; // by column, as the fields ask
    QColor titleColour_ = Qt::blue;
    int helpContext_ = 0;
    QString searchField_;
    GridKeySearch keySearch_;
    QElapsedTimer keyClock_;
};
