#pragma once

#include <QVariant>
#include <vector>

// One row of a table as held in memory: a value per field (calculated fields stay null here)
// and the row's identity in its file.
struct Record {
    std::vector<QVariant> values;
    qint64 rowId = 0; // 0 for a row not yet written
};
