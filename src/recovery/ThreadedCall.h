#pragma once

#include <functional>

// Work that blocks in one long call (a table copied or read by SQLite) run in a thread of its
// own, while `tick` runs here every few hundredths of a second, so that a window can say how
// far it is and stay alive. The work must touch nothing `tick` touches.
namespace ThreadedCall
{
// Returns once the work has ended; its failure is thrown here.
void run(const std::function<void()> &work, const std::function<void()> &tick);
} // namespace ThreadedCall
