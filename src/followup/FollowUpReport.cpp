#include "FollowUpReport.h"

#include "FollowUpReportSource.h"
#include "ReportTextGrid.h"

#include "platform/core/Formats.h"
#include "platform/report/ProgramFooter.h"
#include "platform/report/ReportLayout.h"

namespace
{

using Band = ReportBand;
using Item = ReportItem;
using Source = FollowUpReportSource;

constexpr qreal titleHeight = 56;
constexpr qreal gridTop = 12;

ReportTextGrid bandGrid(const ReimbursementFollowUp &followUp)
{
    ReportTextGrid grid;
    grid.firstColumnWidth = 130;
    grid.columnEnds = {250, 370, 490, 610};
    grid.rows = FollowUpReport::bandRows(followUp);
    return grid;
}

Band title()
{
    Band band(Band::Type::Title, titleHeight);
    band.items << Item::label(QStringLiteral("Remboursements attendus"), ReportFont::regular(24))
                      .from(10, 400)
               << Item::date(QStringLiteral("Imprimé le "), ReportFont::italicFont(11))
                      .rightAlignedIn(560, 712);
    return band;
}

Band columnHeader()
{
    Band band(Band::Type::ColumnHeader, 22);
    band.items << Item::shape(Item::ShapeKind::TopAndBottom);
    const ReportFont font = ReportFont::boldFont(11);
    band.items << Item::label(QStringLiteral("DATE"), font).from(10, 55)
               << Item::label(QStringLiteral("BENEFICIAIRE"), font).from(68, 100)
               << Item::label(QStringLiteral("MEDECIN"), font).from(172, 90)
               << Item::label(QStringLiteral("COÛT"), font).endingAt(342, 70)
               << Item::label(QStringLiteral("C.P.A.M."), font).endingAt(420, 70)
               << Item::label(QStringLiteral("MUTUELLE"), font).endingAt(498, 75)
               << Item::label(QStringLiteral("ATTENDU"), font).endingAt(580, 75)
               << Item::label(QStringLiteral("PAYEUR"), font).from(588, 62)
               << Item::label(QStringLiteral("ÂGE"), font).endingAt(712, 58);
    return band;
}

Band detail()
{
    Band band(Band::Type::Detail, 20);
    const ReportFont text = ReportFont::regular(11);
    const ReportFont amount = ReportFont::boldFont(11);
    band.items << Item::field(Source::Date, text).from(10, 55).elided()
               << Item::field(Source::Beneficiary, text).from(68, 100).wrapped()
               << Item::field(Source::Doctor, text).from(172, 90).wrapped()
               << Item::field(Source::Cost, text).endingAt(342, 70)
               << Item::field(Source::Cpam, text).endingAt(420, 70)
               << Item::field(Source::Mutual, text).endingAt(498, 75)
               << Item::field(Source::Awaited, amount).endingAt(580, 75)
               << Item::field(Source::Payer, text).from(588, 62).elided()
               << Item::field(Source::Age, text).endingAt(712, 58);
    return band;
}

} // namespace

ReportDefinition FollowUpReport::definition()
{
    ReportDefinition report;
    report.title = QStringLiteral("Remboursements attendus");
    // The summary only keeps the room of the age bands, filled in once the rows are laid out.
    Band summary(Band::Type::Summary,
                 gridTop + (AgeBands::count + 2) * ReportTextGrid().rowHeight + 8);
    summary.items << Item::shape(Item::ShapeKind::HorizontalLine);
    report.bands = {title(), columnHeader(), detail(), summary, ProgramFooter::band()};
    return report;
}

QList<QStringList> FollowUpReport::bandRows(const ReimbursementFollowUp &followUp)
{
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("Ancienneté"), QStringLiteral("C.P.A.M."),
                        QStringLiteral("Mutuelle"), QStringLiteral("À vérifier"),
                        QStringLiteral("Total")};
    const auto sumsRow = [](const QString &label, const ReimbursementFollowUp::PayerSums &sums) {
        QStringList row{label};
        for (qint64 amount : sums)
            row << Formats::money(amount);
        row << Formats::money(ReimbursementFollowUp::sum(sums));
        return row;
    };
    for (int band = 0; band < AgeBands::count; ++band)
        rows << sumsRow(AgeBands::label(band), followUp.bands()[size_t(band)]);
    rows << sumsRow(QStringLiteral("Total"), followUp.totals());
    return rows;
}

QList<ReportPage> FollowUpReport::layOut(const ReimbursementFollowUp &followUp,
                                         const QString &scope, const ReportPageGeometry &geometry)
{
    FollowUpReportSource source(followUp);
    QList<ReportPage> pages = ReportLayout::run(definition(), source, geometry);
    const ReportTextGrid grid = bandGrid(followUp);
    for (ReportPage &page : pages) {
        for (const ReportPlacedBand &band : std::as_const(page.bands)) {
            if (band.type == Band::Type::Title) {
                ReportPlacedText text;
                text.text = scope;
                text.font = ReportFont::italicFont(11);
                text.rect = QRectF(band.rect.left() + 10, band.rect.bottom() - 16, 700, 16);
                page.texts.append(text);
            } else if (band.type == Band::Type::Summary) {
                grid.placeOn(page, band.rect.adjusted(10, gridTop, 0, 0));
            }
        }
    }
    return pages;
}
