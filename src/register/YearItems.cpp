#include "YearItems.h"

QStringList YearItems::items(int currentYear)
{
    QStringList list{All};
    for (int year = 1995; year <= currentYear; ++year)
        list.append(QString::number(year));
    return list;
}
