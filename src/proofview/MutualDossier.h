#pragma once

#include <QString>

#include <functional>

struct DossierContent;

// One PDF ready to send to the mutuelle: the cover and table of the cares, then every proof
// in the order of the cares (a PDF's pages as they are, a picture on a page of its own). The
// pages are put together with qpdf and written through AtomicFileWriter: a failure at any step
// leaves no file, or the earlier file of that name as it was.
class MutualDossier
{
public:
    // Called after each step of `steps(content)`; false asks to stop (nothing is written then).
    using Progress = std::function<bool(int done)>;

    static int steps(const DossierContent &content);
    // Writes the file at `path`; returns its page count. Throws PlatformError with the French
    // reason (a proof that can no longer be read, a full disk, the person's stop).
    static int write(const QString &path, const DossierContent &content,
                     const Progress &progress = {});

    // For tests: thrown after writing step `step` of the pages into the temporary file, as a power
    // cut would stop it (0 = never).
    static void failAfterStepForTesting(int step);
};
