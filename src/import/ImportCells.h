#pragma once

#include "ImportSession.h"

#include "platform/core/Formats.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

// Cells of the import windows' tables.
namespace ImportCells
{

// A cell that can be chosen but not typed into.
inline QTableWidgetItem *readOnly(const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

// A care a payment may pay, from `first` on: date, beneficiary, doctor, cost, predicted share.
inline void setShare(QTableWidget &grid, int row, int first, const ProposedShare &share)
{
    const QList<QTableWidgetItem *> cells{
        readOnly(Formats::fullDate(share.entry.date)), readOnly(share.entry.beneficiary),
        readOnly(share.entry.doctor),
        readOnly(ImportSession::money(share.entry.cost), Qt::AlignRight),
        readOnly(ImportSession::money(share.predicted()), Qt::AlignRight)};
    for (int c = 0; c < cells.size(); ++c)
        grid.setItem(row, first + c, cells[c]);
}

// A table over a model whose rows are all of one height, sized from what is in sight only:
// laying out a statement of thousands of lines then costs nothing more than a short one.
inline void setUpList(QTableView &view, QAbstractItemModel *model)
{
    view.setModel(model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setTabKeyNavigation(false);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.horizontalHeader()->setResizeContentsPrecision(0);
    view.horizontalHeader()->setStretchLastSection(true);
}

} // namespace ImportCells
