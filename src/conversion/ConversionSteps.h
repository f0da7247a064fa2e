#pragma once

#include <QByteArray>

// The steps of a conversion after which the program directory is in a state of its own on
// the disk (a table built aside, the originals copied, the new table in place, the leftovers
// removed), counted as they are taken. A test stops the process right after step N, as a
// power cut would, by setting the variable TALO_CONVERSION_STOP_AFTER_STEP to N: nothing is
// cleaned up, no destructor runs.
class ConversionSteps
{
public:
    static constexpr int StoppedStatus = 86;
    static const char *variable();

    ConversionSteps();
    void reached();

private:
    int taken_ = 0;
    int stopAfter_ = 0;
};
