#include "LineBreaks.h"

QString LineBreaks::flattened(const QString &text)
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
