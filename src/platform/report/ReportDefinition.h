#pragma once

#include "ReportBand.h"

#include <QList>
#include <QString>

// A report as designed: its title (the print job's name) and its bands. Pure data; the
// layout turns it and a data source into pages.
class ReportDefinition
{
public:
    QString title;
    QList<ReportBand> bands;

    // The band of that type, or null when the report has none.
    const ReportBand *band(ReportBand::Type type) const;
};
