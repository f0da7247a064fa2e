#include "PageBuilder.h"

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

QLabel *PageBuilder::add(QGridLayout *grid, int row, int column, const QString &caption,
                         QWidget *control, int columnSpan, int rowSpan)
{
    auto *label = new QLabel(caption);
    label->setBuddy(control);
    // Screen readers name the control by its caption, without the colon.
    QString name = caption;
    name.remove(QLatin1Char(':'));
    control->setAccessibleName(name.trimmed());
    label->setAlignment(Qt::AlignRight | (rowSpan > 1 ? Qt::AlignTop : Qt::AlignVCenter));
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1, rowSpan, columnSpan);
    return label;
}
