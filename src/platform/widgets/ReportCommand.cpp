#include "ReportCommand.h"

#include "CursorOverride.h"
#include "HandlerGuard.h"
#include "platform/store/ControlsDisabled.h"

bool ReportCommand::run(QWidget *parent, Table &boundTable, const std::function<void()> &work)
{
    return HandlerGuard::run(parent, [&] {
        // Both come back on every way out, before any error box is shown.
        const CursorOverride hourglass(Qt::WaitCursor);
        const ControlsDisabled still(boundTable);
        work();
    });
}
