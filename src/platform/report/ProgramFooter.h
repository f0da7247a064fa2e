#pragma once

#include "ReportBand.h"

// The page footer every printed report of the program shares: its name on the left, the page
// number against the right edge.
namespace ProgramFooter
{

ReportBand band();

} // namespace ProgramFooter
