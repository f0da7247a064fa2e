#pragma once

#include <QTableWidgetItem>

// A cell of the import windows' tables that can be chosen but not typed into.
inline QTableWidgetItem *readOnlyCell(const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}
