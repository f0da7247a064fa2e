#include "ParadoxOffer.h"

#include "conversion/ConversionMessages.h"
#include "conversion/ParadoxConversion.h"

#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <exception>

namespace
{
// Shown only for a conversion that lasts.
constexpr int ShowAfterMs = 500;

ParadoxConversion::Result convert(const QString &programDir,
                                  const std::vector<const TableDefinition *> &tables)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    QProgressDialog progress(ConversionMessages::progressTitle(), QString(), 0, 1000);
    progress.setWindowTitle(ConversionMessages::progressTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    try {
        return ParadoxConversion::run(programDir, tables,
                                      [&progress](const QString &label, int permille) {
                                          progress.setLabelText(label);
                                          progress.setValue(permille);
                                          // Also while a reading gives nothing.
                                          QCoreApplication::processEvents();
                                      });
    } catch (const std::exception &) {
        // Each table is as it was or converted whole, whatever stopped the conversion.
        ParadoxConversion::Result result;
        result.failure = ConversionMessages::unexpectedFailure();
        return result;
    }
}
} // namespace

void ParadoxOffer::run(const QString &programDir)
{
    ParadoxConversion::removeLeftovers(programDir);
    const auto tables = ParadoxConversion::pending(programDir);
    if (tables.empty())
        return;
    if (!Dialogs::question(nullptr,
                           ConversionMessages::offer(ParadoxConversion::fileNames(tables))))
        return;
    const ParadoxConversion::Result result = convert(programDir, tables);
    if (result.complete())
        Dialogs::information(nullptr, result.summary());
    else
        Dialogs::warning(nullptr, result.summary());
}
