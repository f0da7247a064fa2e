#pragma once

#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPageGeometry.h"

#include "support/FakeReportSource.h"

// A small report with round numbers for engine tests. On testPage() (500 x 300 pixels,
// margins of 10) the printable area runs from y 10 to 290, the footer from 270 to 290:
// page 1 holds the title (10-50), the header (50-70) and 20 details (70-270); every later
// page the header (10-30) and 24 details (30-270).
namespace ReportTest
{

inline ReportDefinition definition()
{
    using Item = ReportItem;
    ReportDefinition report;
    report.title = QStringLiteral("Rapport d'essai");

    ReportBand title(ReportBand::Type::Title, 40);
    title.items
        << Item::label(QStringLiteral("Titre d'essai"), ReportFont::regular(20)).centredIn(0, 300)
        << Item::date(QStringLiteral("Imprimé le "), ReportFont::italicFont(11))
               .rightAlignedIn(300, 470);

    ReportBand header(ReportBand::Type::ColumnHeader, 20);
    header.items
        << Item::shape(Item::ShapeKind::TopAndBottom)
        << Item::label(QStringLiteral("NOM"), ReportFont::boldFont(12)).from(10, 100)
        << Item::label(QStringLiteral("MONTANT"), ReportFont::boldFont(12)).endingAt(300, 90);

    ReportBand detail(ReportBand::Type::Detail, 10);
    detail.items
        << Item::field(QStringLiteral("Nom"), ReportFont::regular(8)).from(10, 150).elided()
        << Item::field(QStringLiteral("Montant"), ReportFont::boldFont(8)).endingAt(300, 90);

    ReportBand summary(ReportBand::Type::Summary, 30);
    summary.items << Item::shape(Item::ShapeKind::HorizontalLine)
                  << Item::sum(QStringLiteral("Montant"), QStringLiteral("#,##0.00 F"),
                               ReportFont::boldFont(12))
                         .endingAt(300, 120);

    ReportBand footer(ReportBand::Type::PageFooter, 20);
    footer.items << Item::label(QStringLiteral("Pied"), ReportFont::italicFont(11)).from(10, 100)
                 << Item::pageNumber(QStringLiteral("Page "), ReportFont::italicFont(11))
                        .againstRightEdge(80);

    report.bands = {title, header, detail, summary, footer};
    return report;
}

inline ReportPageGeometry testPage()
{
    return ReportPageGeometry(QSizeF(500, 300), QMarginsF(10, 10, 10, 10));
}

// `count` rows named "Nom 1", "Nom 2"... of 1,00 each.
inline void fill(FakeReportSource &source, int count)
{
    for (int i = 1; i <= count; ++i)
        source.addRow({{QStringLiteral("Nom"), QStringLiteral("Nom %1").arg(i)},
                       {QStringLiteral("Montant"), QStringLiteral("1,00 €")}},
                      {{QStringLiteral("Montant"), 100}});
}

} // namespace ReportTest
