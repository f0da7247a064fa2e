#pragma once

#include <QList>
#include <QString>

class QWidget;
class Table;

// The records typed but not yet posted in the program's tables, saved before the program ends
// or a backup copies the files: a window closed with a record pending must not lose it.
namespace PendingRecords
{

struct Pending {
    Table *table;
    // Where the record is being typed, shown before the table's message; empty for the
    // main window, whose record stays in view.
    QString place;
};

// Posts each modified record and drops each untouched new one, in order. At the first post
// refused, shows its French message and returns false; the record stays in its table.
bool post(QWidget *parent, const QList<Pending> &tables);

QString doctorPlace();
QString insuredPlace();

} // namespace PendingRecords
