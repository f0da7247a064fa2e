#pragma once

#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "register/ReimbursementFollowUp.h"

// The printed follow-up "Remboursements attendus": one line per awaited reimbursement, the
// oldest first, then the sums of each age band per payer.
class FollowUpReport
{
public:
    static ReportDefinition definition();
    // `scope` tells which entries were followed (view and payer), printed under the title.
    static QList<ReportPage> layOut(const ReimbursementFollowUp &followUp, const QString &scope,
                                    const ReportPageGeometry &geometry);
    // The table of age bands: a heading row, one row per band, the total row.
    static QList<QStringList> bandRows(const ReimbursementFollowUp &followUp);
};
