#pragma once

#include "ReportFont.h"

#include <QStringList>

// Breaks a report text into the lines of a column: at blanks and hyphens where it can, inside
// a word too long for the column where it must. Widths are those of the 96-dpi font, the
// same that decide where the painter elides, so every device breaks a text alike.
namespace ReportTextWrap
{

// One line when the text fits (or is empty).
QStringList lines(const QString &text, const ReportFont &font, qreal width);
// How far apart the lines of a wrapped text stand.
qreal lineStep(const ReportFont &font);

} // namespace ReportTextWrap
