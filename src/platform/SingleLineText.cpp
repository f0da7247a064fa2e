#include "SingleLineText.h"

#include <QLineEdit>

SingleLineText::SingleLineText(QObject *parent) : QValidator(parent) {}

QString SingleLineText::flattened(const QString &text)
{
    QString flat;
    flat.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // CR LF is one break: its LF gives the blank
        const bool lineBreak = c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
                               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        flat.append(lineBreak ? QLatin1Char(' ') : c);
    }
    return flat;
}

void SingleLineText::install(QLineEdit *edit)
{
    edit->setValidator(new SingleLineText(edit));
}

// The line edit takes the text as changed here in place of what was typed or pasted.
QValidator::State SingleLineText::validate(QString &input, int &pos) const
{
    const QString flat = flattened(input);
    if (flat.size() != input.size() || flat != input) {
        pos = int(flattened(input.left(pos)).size());
        input = flat;
    }
    return Acceptable;
}
