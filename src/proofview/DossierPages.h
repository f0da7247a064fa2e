#pragma once

#include "DossierContent.h"

#include <vector>

#include <functional>

class QIODevice;

// The pages of a mutuelle file the program draws itself, as one PDF: the cover (who sends it,
// to whom, the table of the cares with what the C.P.A.M. paid), then one A4 page per picture
// proof, the picture scaled to the page and turned as its camera says.
class DossierPages
{
public:
    // Writes the cover, then a page for each of `images` in order, to `device`; `step` is called
    // after each picture. Returns the number of cover pages. Throws PlatformError (French) when a
    // picture cannot be read any more.
    static int write(QIODevice &device, const DossierContent &content,
                     const std::vector<DossierContent::Proof> &images,
                     const std::function<void()> &step);
};
