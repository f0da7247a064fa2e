#include "YearSummaryReport.h"

#include "YearSummaryCharts.h"
#include "YearSummaryReportSource.h"

#include "platform/report/ProgramFooter.h"
#include "platform/report/ReportLayout.h"
#include "register/YearSummary.h"

namespace
{

using Band = ReportBand;
using Item = ReportItem;
using Source = YearSummaryReportSource;

// Column edges: the name, then the count and the seven amounts ending at these edges.
constexpr qreal nameWidth = 128;
constexpr qreal ends[] = {172, 248, 324, 400, 476, 552, 628, 712};
constexpr qreal chartHeight = 300;
constexpr qreal chartGap = 12;
// Charts are drawn at this many pixels per page pixel, sharp enough on paper.
constexpr qreal chartScale = 3;

Band title(const YearSummary &summary)
{
    Band band(Band::Type::Title, 40);
    const QString year = summary.year() == YearSummary::AllYears ? QStringLiteral("toutes années")
                                                                 : QString::number(summary.year());
    band.items << Item::label(QStringLiteral("Bilan annuel (%1)").arg(year),
                              ReportFont::regular(24))
                      .from(10, 450)
               << Item::date(QStringLiteral("Imprimé le "), ReportFont::italicFont(11))
                      .rightAlignedIn(560, 712);
    return band;
}

Band columnHeader()
{
    Band band(Band::Type::ColumnHeader, 24);
    band.items << Item::shape(Item::ShapeKind::TopAndBottom);
    const ReportFont font = ReportFont::boldFont(10);
    // Shorter than the window's headings, to hold in the paper's columns.
    const char *const titles[] = {"Soins",     "Coût",         "C.P.A.M.",   "Mutuelle",
                                  "Att. CPAM", "Att. mutuel.", "À vérifier", "Reste à charge"};
    band.items << Item::label(QStringLiteral("Nom"), font).from(10, nameWidth);
    for (qsizetype i = 0; i < qsizetype(std::size(titles)); ++i)
        band.items << Item::label(QString::fromUtf8(titles[i]), font).endingAt(ends[i], 80);
    return band;
}

Band detail()
{
    Band band(Band::Type::Detail, 20);
    const ReportFont text = ReportFont::regular(11);
    // A long name wraps onto more lines, as in the care list, rather than lose its end.
    band.items
        << Item::field(Source::Name, ReportFont::boldFont(11)).from(10, nameWidth).wrapped()
        << Item::field(Source::Count, text).endingAt(ends[0], 40)
        // Across the amounts' columns, which such a line leaves empty.
        << Item::field(Source::Withheld, text).from(nameWidth + 12, ends[7] - nameWidth - 12);
    for (qsizetype i = 0; i < Source::amountFields().size(); ++i)
        band.items << Item::field(Source::amountFields()[i], text).endingAt(ends[i + 1], 76);
    return band;
}

} // namespace

const QStringList &YearSummaryReport::columnTitles()
{
    static const QStringList titles = {QStringLiteral("Bénéficiaire"),
                                       QStringLiteral("Soins"),
                                       QStringLiteral("Coût"),
                                       QStringLiteral("C.P.A.M."),
                                       QStringLiteral("Mutuelle"),
                                       QStringLiteral("Attendu\nC.P.A.M."),
                                       QStringLiteral("Attendu\nmutuelle"),
                                       QStringLiteral("À vérifier"),
                                       QStringLiteral("Reste\nà charge")};
    return titles;
}

ReportDefinition YearSummaryReport::definition(const YearSummary &summary)
{
    ReportDefinition report;
    report.title = QStringLiteral("Bilan annuel");
    // The summary keeps the room of both charts, drawn in once the rows are laid out.
    Band charts(Band::Type::Summary, 2 * chartHeight + 2 * chartGap);
    report.bands = {title(summary), columnHeader(), detail(), charts, ProgramFooter::band()};
    return report;
}

QList<ReportPage> YearSummaryReport::layOut(const YearSummary &summary,
                                            const ReportPageGeometry &geometry)
{
    Source source(summary);
    QList<ReportPage> pages = ReportLayout::run(definition(summary), source, geometry);
    for (ReportPage &page : pages) {
        for (const ReportPlacedBand &band : std::as_const(page.bands)) {
            if (band.type != Band::Type::Summary)
                continue;
            const QSize size(int(band.rect.width()), int(chartHeight));
            QRectF place(band.rect.left(), band.rect.top() + chartGap, size.width(), chartHeight);
            page.images.append(
                {place, YearSummaryCharts::render(YearSummaryCharts::byBeneficiary(summary), size,
                                                  chartScale)});
            place.translate(0, chartHeight + chartGap);
            page.images.append(
                {place, YearSummaryCharts::render(YearSummaryCharts::costPerPeriod(summary), size,
                                                  chartScale)});
        }
    }
    return pages;
}
