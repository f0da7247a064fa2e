#pragma once

#include "platform/store/Table.h"

#include <QColor>
#include <QPixmap>

// The marker a grid shows beside the current row: an arrow while browsing, an I-beam while the
// record is edited, an asterisk for a new record.
namespace RowIndicator
{

// Drawn in `ink`, the header's text colour.
QPixmap pixmap(Table::State state, int height, const QColor &ink = Qt::black);

} // namespace RowIndicator
