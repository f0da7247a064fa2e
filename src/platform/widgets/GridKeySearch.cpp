#include "GridKeySearch.h"

#include "platform/core/TextCollation.h"
#include "platform/store/Table.h"

int GridKeySearch::keyTyped(Table &table, int fieldIndex, const QString &text, qint64 nowMs)
{
    if (typed_.isEmpty() || nowMs - lastKeyMs_ > PauseMs)
        typed_.clear();
    lastKeyMs_ = nowMs;
    const QString longer = typed_ + text;
    int row = firstRowStartingWith(table, fieldIndex, longer);
    if (row >= 0) {
        typed_ = longer;
        return row;
    }
    if (typed_.isEmpty())
        return -1;
    row = firstRowStartingWith(table, fieldIndex, text);
    if (row >= 0)
        typed_ = text;
    return row;
}

int GridKeySearch::firstRowStartingWith(Table &table, int fieldIndex, const QString &beginning)
{
    const QString key = TextCollation::searchKey(beginning);
    if (key.trimmed().isEmpty() || !table.isActive())
        return -1;
    const int rows = table.shownRowCount();
    for (int row = 0; row < rows; ++row) {
        if (TextCollation::searchKey(table.shownText(row, fieldIndex)).startsWith(key))
            return row;
    }
    return -1;
}
