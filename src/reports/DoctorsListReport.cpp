#include "DoctorsListReport.h"

#include "platform/report/ProgramFooter.h"

namespace
{

using Band = ReportBand;
using Item = ReportItem;

Band title()
{
    Band band(Band::Type::Title, 37);
    band.items << Item::label(QStringLiteral("Liste des médecins"), ReportFont::regular(24))
                      .centredIn(10, 206)
               << Item::date(QStringLiteral("Imprimé le "), ReportFont::italicFont(11))
                      .rightAlignedIn(618, 715);
    return band;
}

Band columnHeader()
{
    Band band(Band::Type::ColumnHeader, 24);
    band.items << Item::shape(Item::ShapeKind::TopAndBottom);
    const ReportFont font = ReportFont::boldFont(12);
    const std::pair<qreal, const char *> headings[] = {
        {10, "NOM"},      {125, "PRENOM"}, {225, "SPECIALITE"},
        {346, "ADRESSE"}, {529, "VILLE"},  {630, "TELEPHONE"},
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
    const ReportFont font = ReportFont::regular(12);
    // Each text stops a blank short of the next column, so that a full address and its town
    // never read as one; a text too long for its column goes on below.
    band.items << Item::field(QStringLiteral("Nom"), font).from(10, 109).wrapped()
               << Item::field(QStringLiteral("Prenom"), font).from(125, 94).wrapped()
               << Item::field(QStringLiteral("Specialite"), font).from(225, 115).wrapped()
               << Item::field(QStringLiteral("Adresse"), font).from(346, 178).wrapped()
               << Item::field(QStringLiteral("Ville"), font).from(530, 96).wrapped()
               << Item::field(QStringLiteral("Tel"), font).endingAt(716, 84).elided();
    return band;
}

} // namespace

ReportDefinition DoctorsListReport::definition()
{
    ReportDefinition report;
    report.title = QStringLiteral("Liste des médecins");
    report.bands = {title(), columnHeader(), detail(), ProgramFooter::band()};
    return report;
}
