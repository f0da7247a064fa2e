#pragma once

#include "ProofCheck.h"

// Runs the readability check of a proof in a child process: the program itself started again
// with the hidden argument `--verifier-piece KIND FILE` (answered by ProofReadService before
// anything else in main()), so that a file that crashes or hangs a decoder only ends that
// process and is refused. The child writes nothing but its verdict on its standard output.
namespace ProofReadProcess
{

inline QString argument()
{
    return QStringLiteral("--verifier-piece");
}

// The check through `program` (by default the running program itself).
ProofCheck check(const QString &program = QString());

// Milliseconds a reading may take before it is stopped and the file refused.
void setTimeLimitForTesting(int milliseconds);

// The answer's words, shared with the service.
inline QByteArray readableAnswer()
{
    return QByteArrayLiteral("LISIBLE");
}

} // namespace ProofReadProcess
