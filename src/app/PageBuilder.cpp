#include "PageBuilder.h"

#include <QGridLayout>
#include <QLabel>

QLabel *PageBuilder::add(QGridLayout *grid, int row, int column, const QString &caption,
                         QWidget *control, int columnSpan, int rowSpan)
{
    auto *label = new QLabel(caption);
    label->setBuddy(control);
    label->setAlignment(Qt::AlignRight | (rowSpan > 1 ? Qt::AlignTop : Qt::AlignVCenter));
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1, rowSpan, columnSpan);
    return label;
}
