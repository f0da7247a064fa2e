#pragma once

#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"

#include <QDate>
#include <QString>

class ImportSession;

// The printable summary of an import: for each payment written, its date, label and amount,
// then the entries it pays with their shares; the totals; the payments left unwritten, each
// with its reason; the count of the other credits.
// Laid out line by line on as many pages as it takes.
namespace ImportSummary
{
QString title();
QList<ReportPage> pages(const ImportSession &session, const QString &fileName,
                        const QDate &printedOn, const ReportPageGeometry &geometry);
} // namespace ImportSummary
