#include "CareListReport.h"

#include "platform/report/ProgramFooter.h"

namespace
{

using Band = ReportBand;
using Item = ReportItem;

const QString sumMask = QStringLiteral("#,##0.00 €");

Band title()
{
    Band band(Band::Type::Title, 37);
    band.items << Item::label(QStringLiteral("Liste des soins classés par date"),
                              ReportFont::regular(24))
                      .centredIn(10, 342)
               << Item::date(QStringLiteral("Imprimé le "), ReportFont::italicFont(11))
                      .rightAlignedIn(608, 705);
    return band;
}

Band columnHeader()
{
    Band band(Band::Type::ColumnHeader, 24);
    band.items << Item::shape(Item::ShapeKind::TopAndBottom);
    const ReportFont font = ReportFont::boldFont(12);
    // Each heading's box reaches the next one.
    const std::pair<qreal, const char *> headings[] = {
        {10, "DATE"},      {70, "BENEFICIAIRE"}, {180, "MEDECIN"},  {305, "COÛT"},
        {396, "C.P.A.M."}, {466, "MONTANT"},     {576, "MUTUELLE"}, {654, "MONTANT"},
    };
    const qsizetype count = std::size(headings);
    for (qsizetype i = 0; i < count; ++i) {
        const qreal left = headings[i].first;
        const qreal next = i + 1 < count ? headings[i + 1].first : 716;
        band.items
            << Item::label(QString::fromUtf8(headings[i].second), font).from(left, next - left);
    }
    return band;
}

Band detail()
{
    Band band(Band::Type::Detail, 24);
    const ReportFont text = ReportFont::regular(12);
    const ReportFont amount = ReportFont::boldFont(12);
    // Every column stops a blank short of the next one, so that two never read as one: an
    // amount's box holds "-999 999,99 €" whole, a name too long for its box goes on below.
    constexpr qreal amountWidth = 75;
    band.items
        << Item::field(QStringLiteral("Date soins"), text).from(10, 54).elided()
        << Item::field(QStringLiteral("Beneficiaire"), text).from(70, 104).wrapped()
        << Item::field(QStringLiteral("Medecin"), text).from(180, 91).wrapped()
        << Item::field(QStringLiteral("Cout"), amount).endingAt(350, amountWidth)
        << Item::field(QStringLiteral("Date CPAM"), text).from(395, 50).elided()
        << Item::field(QStringLiteral("Montant CPAM"), amount).endingAt(525, amountWidth)
        << Item::field(QStringLiteral("Date mutuelle"), text).from(578, 50).elided()
        << Item::field(QStringLiteral("Montant mutuelle"), amount).endingAt(709, amountWidth);
    return band;
}

Band summary()
{
    Band band(Band::Type::Summary, 24);
    const ReportFont font = ReportFont::boldFont(12);
    band.items << Item::shape(Item::ShapeKind::HorizontalLine)
               << Item::sum(QStringLiteral("Cout"), sumMask, font).endingAt(349, 100)
               << Item::sum(QStringLiteral("Montant CPAM"), sumMask, font).endingAt(523, 100)
               << Item::sum(QStringLiteral("Montant mutuelle"), sumMask, font).endingAt(706, 100);
    return band;
}

} // namespace

ReportDefinition CareListReport::definition()
{
    ReportDefinition report;
    report.title = QStringLiteral("Liste des soins");
    report.bands = {title(), columnHeader(), detail(), summary(), ProgramFooter::band()};
    return report;
}
