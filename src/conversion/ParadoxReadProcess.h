#pragma once

#include "ParadoxReader.h"

#include <QString>

#include <functional>
#include <vector>

// A Paradox table as read: its fields and every row.
struct ParadoxContents {
    std::vector<ParadoxField> fields;
    std::vector<ParadoxRow> rows;
};

// Reads a Paradox table in a process of its own (this program started again with
// ParadoxReadService's argument), because pxlib can loop for ever or crash on a damaged or
// crafted file. A reading that gives nothing for the silence limit is stopped and the table
// refused, as is one that crashes or says something incoherent; a large honest table is not
// refused, since every batch of rows counts as a sign of life. Failures throw ConversionError
// with the French reason.
class ParadoxReadProcess
{
public:
    // Called while the reading goes on (rows read, rows announced; -1 before the header is
    // read), also while nothing comes, so that the caller can keep its window alive.
    using Tick = std::function<void(int read, int total)>;

    static ParadoxContents read(const QString &tablePath, const QString &memoPath,
                                const Tick &tick);

    // 30 seconds; tests shorten it.
    static int silenceLimitMs();
    static void setSilenceLimitMs(int milliseconds);
};
