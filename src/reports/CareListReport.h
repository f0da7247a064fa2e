#pragma once

#include "platform/report/ReportDefinition.h"

// The care list: the care entries in view, one line each in date order, with the sums of the
// costs and of both reimbursements at the end. Its rows come from the report form's own table.
namespace CareListReport
{

ReportDefinition definition();

} // namespace CareListReport
