#pragma once

#include "ReportPage.h"

// The pages of a report as the preview, the printer and the PDF writer read them: one at a
// time, so that a long report need not be held whole.
class ReportPages
{
public:
    virtual ~ReportPages() = default;
    virtual int count() const = 0;
    // The page at `index` (from 0); the reference holds until the next call. Throws what the
    // layout throws.
    virtual const ReportPage &page(int index) = 0;
};
