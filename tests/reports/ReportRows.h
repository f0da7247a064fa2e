#pragma once

#include "platform/report/ReportPage.h"

#include <QHash>
#include <QList>
#include <QString>

// What laid-out report pages print, read back by field name for the tests of the report forms.
namespace ReportRows
{

using Row = QHash<QString, QString>; // field name -> printed text

// One entry per detail band, in printing order over all pages.
inline QList<Row> details(const QList<ReportPage> &pages)
{
    QList<Row> rows;
    for (const ReportPage &page : pages) {
        for (const ReportPlacedBand &band : page.bands) {
            if (band.type != ReportBand::Type::Detail)
                continue;
            Row row;
            for (const ReportPlacedText &text : page.texts) {
                if (text.kind == ReportItem::Kind::Field && band.rect.contains(text.rect.center()))
                    row.insert(text.fieldName, text.text);
            }
            rows.append(row);
        }
    }
    return rows;
}

// The printed values of one field, row by row.
inline QStringList column(const QList<ReportPage> &pages, const QString &fieldName)
{
    QStringList values;
    for (const Row &row : details(pages))
        values.append(row.value(fieldName));
    return values;
}

// The texts of the summary's sums by field name.
inline Row sums(const QList<ReportPage> &pages)
{
    Row sums;
    for (const ReportPage &page : pages) {
        for (const ReportPlacedText &text : page.texts) {
            if (text.kind == ReportItem::Kind::Sum)
                sums.insert(text.fieldName, text.text);
        }
    }
    return sums;
}

// Every text printed anywhere, fixed captions included.
inline QStringList allTexts(const QList<ReportPage> &pages)
{
    QStringList texts;
    for (const ReportPage &page : pages) {
        for (const ReportPlacedText &text : page.texts)
            texts.append(text.text);
    }
    return texts;
}

} // namespace ReportRows
