#include "ConversionSteps.h"

#include <QtGlobal>

#include <unistd.h>

const char *ConversionSteps::variable()
{
    return "TALO_CONVERSION_STOP_AFTER_STEP";
}

ConversionSteps::ConversionSteps() : stopAfter_(qEnvironmentVariableIntValue(variable())) {}

void ConversionSteps::reached()
{
    if (++taken_ == stopAfter_)
        ::_exit(StoppedStatus);
}
