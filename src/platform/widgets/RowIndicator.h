#pragma once

#include "platform/store/Table.h"

#include <QPixmap>

// The marker a grid shows beside the current row: an arrow while browsing, an I-beam while the
// record is edited, an asterisk for a new record.
namespace RowIndicator
{

QPixmap pixmap(Table::State state, int height);

} // namespace RowIndicator
