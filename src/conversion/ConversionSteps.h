#pragma once

#include <QByteArray>

// The steps of a conversion after which the program directory is in a state of its own on
// the disk (a table built aside, the originals copied, the new table in place, the leftovers
// removed), counted as they are taken. A test stops the process right after step N, as a
// power cut would (setStopAfterForTesting): nothing is cleaned up, no destructor runs.
class ConversionSteps
{
public:
    static constexpr int StoppedStatus = 86;
    // Test hook: the process ends right after step N of every conversion (0: never).
    static void setStopAfterForTesting(int step);

    ConversionSteps();
    void reached();

private:
    int taken_ = 0;
    int stopAfter_ = 0;
};
