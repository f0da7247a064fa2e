#include "Today.h"

namespace
{
QDate pinned;
}

QDate Today::date()
{
    return pinned.isValid() ? pinned : QDate::currentDate();
}

void Today::pinForTesting(const QDate &date)
{
    pinned = date;
}

void Today::unpin()
{
    pinned = QDate();
}
