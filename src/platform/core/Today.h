#pragma once

#include <QDate>

// The current date as the program sees it; tests pin it so that dates and year lists are
// reproducible.
namespace Today
{

QDate date();
void pinForTesting(const QDate &date);
void unpin();

} // namespace Today
