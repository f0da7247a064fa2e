#pragma once

#include <QString>

class Table;

// Type-to-search in a grid: letters typed in quick succession spell the beginning of a name,
// and the grid goes to the first row, in the table's order, whose name starts with it (accents
// and case ignored, as the collation files names). A pause starts a new beginning; a letter
// that leads nowhere from the current beginning is tried on its own.
class GridKeySearch
{
public:
    static constexpr qint64 PauseMs = 1000;

    // The text of a key typed at `nowMs` (any clock in milliseconds): the row of `table`'s
    // view to go to, or -1 when no name matches (the grid then stays).
    int keyTyped(Table &table, int fieldIndex, const QString &text, qint64 nowMs);
    const QString &beginning() const { return typed_; }

    // The first row of the view whose field starts with `beginning`, or -1.
    static int firstRowStartingWith(Table &table, int fieldIndex, const QString &beginning);

private:
    QString typed_;
    qint64 lastKeyMs_ = 0;
};
