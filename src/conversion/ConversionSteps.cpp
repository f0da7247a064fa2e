#include "ConversionSteps.h"

#include <atomic>

#include <unistd.h>

namespace
{
std::atomic<int> stopAfter = 0;
}

void ConversionSteps::setStopAfterForTesting(int step)
{
    stopAfter = step;
}

ConversionSteps::ConversionSteps() : stopAfter_(stopAfter) {}

void ConversionSteps::reached()
{
    if (++taken_ == stopAfter_)
        ::_exit(StoppedStatus);
}
