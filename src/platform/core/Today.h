#pragma once

#include <QDate>

// The current date as the program sees it; tests pin it so that dates and year lists are
// reproducible.
class Today
{
public:
    static QDate date();
    static void pinForTesting(const QDate &date);
    static void unpin();
};
