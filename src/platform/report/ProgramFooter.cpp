#include "ProgramFooter.h"

ReportBand ProgramFooter::band()
{
    ReportBand band(ReportBand::Type::PageFooter, 24);
    const ReportFont font = ReportFont::italicFont(11);
    band.items << ReportItem::label(QStringLiteral("Talo 3.0"), font).from(12, 100)
               << ReportItem::pageNumber(QStringLiteral("Page "), font).againstRightEdge(100);
    return band;
}
