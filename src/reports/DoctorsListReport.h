#pragma once

#include "platform/report/ReportDefinition.h"

// The doctors list: every doctor of the address book, one line each in alphabetical order.
// The postal code is not printed.
namespace DoctorsListReport
{

ReportDefinition definition();

} // namespace DoctorsListReport
