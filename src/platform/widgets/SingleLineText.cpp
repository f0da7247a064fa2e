#include "SingleLineText.h"

#include "platform/core/LineBreaks.h"

#include <QLineEdit>

SingleLineText::SingleLineText(QObject *parent) : QValidator(parent) {}

void SingleLineText::install(QLineEdit *edit)
{
    edit->setValidator(new SingleLineText(edit));
}

// The line edit takes the text as changed here in place of what was typed or pasted.
QValidator::State SingleLineText::validate(QString &input, int &pos) const
{
    const QString flat = LineBreaks::flattened(input);
    if (flat.size() != input.size() || flat != input) {
        pos = int(LineBreaks::flattened(input.left(pos)).size());
        input = flat;
    }
    return Acceptable;
}
