#include "ReportTextWrap.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>
#include <QTextOption>

namespace
{

// A report uses a handful of fonts over thousands of rows.
const QFontMetricsF &metrics(const ReportFont &font)
{
    static QHash<int, QFontMetricsF> cache;
    const int key = font.key();
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, QFontMetricsF(font.toQFont(1)));
    return *it;
}

} // namespace

QStringList ReportTextWrap::lines(const QString &text, const ReportFont &font, qreal width)
{
    if (text.isEmpty() || metrics(font).horizontalAdvance(text) <= width)
        return {text};
    QTextLayout layout(text, font.toQFont(1));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        result.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return result;
}

qreal ReportTextWrap::lineStep(const ReportFont &font)
{
    return metrics(font).lineSpacing();
}
