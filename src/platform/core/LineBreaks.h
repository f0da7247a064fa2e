#pragma once

#include <QString>

// One-line values never hold a line break, so that none can spill over the lines of the side
// files or the tables.
namespace LineBreaks
{

// Each line break (CR LF, CR, LF, U+2028, U+2029) becomes one blank.
QString flattened(const QString &text);

} // namespace LineBreaks
