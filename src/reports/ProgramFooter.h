#pragma once

#include "platform/report/ReportBand.h"

// The page footer both reports share: the program's name on the left, the page number
// against the right edge.
namespace ProgramFooter
{

ReportBand band();

} // namespace ProgramFooter
