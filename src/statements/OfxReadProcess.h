#pragma once

#include "OfxStatementReader.h"

#include <functional>

// Reads an OFX statement in a process of its own (this program started again with
// OfxReadService's argument): libofx is C code reading a file from outside, and a crafted file
// can keep it busy for ever. A reading past its time limit, or stopped by the caller, ends at
// once with its process; one that crashes or says something incoherent is refused. Failures
// throw StatementError (line 0 when no line is to blame).
class OfxReadProcess
{
public:
    // True once the reading must stop: it then throws WorkProgress::Stopped.
    using Stop = std::function<bool()>;

    static std::vector<StatementLine>
    read(const QByteArray &bytes, const OfxStatementReader::Progress &progress, const Stop &stop);

    // A reading the caller hands StatementReader, with its stop.
    static std::function<std::vector<StatementLine>(const QByteArray &,
                                                    const OfxStatementReader::Progress &)>
    reader(const Stop &stop);

    // 30 seconds, and 10 more for every million bytes of the file.
    static int timeLimitMs(qint64 bytes);
    // Test hooks: the program to start (by default the running one) and a fixed time limit
    // (negative: back to the rule above).
    static void setProgramForTesting(const QString &program);
    static void setTimeLimitForTesting(int milliseconds);
};
