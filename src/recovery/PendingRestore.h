#pragma once

#include <memory>

class RestoreCandidate;

// The restore the user confirmed, waiting for the windows to close their tables: the program
// ends its loop, puts the copy in place and starts again.
namespace PendingRestore
{

void set(std::unique_ptr<RestoreCandidate> candidate);
std::unique_ptr<RestoreCandidate> take();
bool isSet();
} // namespace PendingRestore
