#pragma once

#include "OfxStatementReader.h"
#include "StatementFile.h"

class CsvColumnMemory;

// Reads the statement a bank lets its customers download: OFX (1.x, 2.x, .qfx) or CSV, told
// apart by the content, not the name. Nothing is written anywhere: the reading either gives
// every operation of the file or throws StatementError (a PlatformError) whose French message
// names the file and the line where it stopped.
class StatementReader
{
public:
    // Files larger than this are no statement.
    static constexpr qint64 maxBytes = 64LL * 1024 * 1024;

    // How an OFX file's bytes become its operations; by default OfxStatementReader::read in
    // this process (OfxReadProcess reads them in a process of its own).
    using OfxReading = std::function<std::vector<StatementLine>(
        const QByteArray &bytes, const OfxStatementReader::Progress &progress)>;

    // A CSV table whose titles are not recognised is read with the columns `memory` holds for
    // its bank (memory may be null); with none, the result needs a column choice. `progress`
    // follows the operations of an OFX file as the library delivers them.
    static StatementFile read(const QString &path, const CsvColumnMemory *memory = nullptr,
                              const OfxStatementReader::Progress &progress = {},
                              const OfxReading &ofx = {});

    // The CSV file read again through the columns the person chose.
    static StatementFile withColumns(StatementFile file, const CsvColumnChoice &choice);
};
