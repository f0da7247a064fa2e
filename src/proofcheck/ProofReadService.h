#pragma once

#include <optional>

// The other end of ProofReadProcess: the program started again with `--verifier-piece KIND
// FILE` checks the file through ProofDecoding and writes its verdict on its standard output
// (exit 0 and the readable answer, or exit 1 and the French reason). Nothing else is written
// there: a decoder's own messages go to the standard error.
namespace ProofReadService
{

// The exit status when the arguments ask for a check (which is then done); nothing otherwise.
// Called first thing in main(), before any application object.
std::optional<int> serveIfAsked(int argc, char *argv[]);

} // namespace ProofReadService
