#include "app/TaloMain.h"
#include "conversion/ConversionSteps.h"
#include "platform/store/BackgroundRows.h"
#include "recovery/RestoreSwap.h"

#include <QtGlobal>

// The program as the end-to-end scenarios that need a test hook install it: the hooks are set
// from the environment (which the program itself never reads for them), then it runs as
// usual.
int main(int argc, char *argv[])
{
    BackgroundRows::setStartDelayForTesting(
        qEnvironmentVariableIntValue("TALO_TEST_ROWS_DELAY_MS"));
    RestoreSwap::setStopAfterStepForTesting(
        qEnvironmentVariableIntValue("TALO_TEST_STOP_AFTER_STEP"));
    ConversionSteps::setStopAfterForTesting(
        qEnvironmentVariableIntValue("TALO_CONVERSION_STOP_AFTER_STEP"));
    return TaloMain::run(argc, argv);
}
