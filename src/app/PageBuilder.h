#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

// Places a caption and its control side by side in an entry page's grid; the caption's buddy
// is the control, so a click on the caption focuses it, and the control's accessible name.
namespace PageBuilder
{

QLabel *add(QGridLayout *grid, int row, int column, const QString &caption, QWidget *control,
            int columnSpan = 1, int rowSpan = 1);

} // namespace PageBuilder
