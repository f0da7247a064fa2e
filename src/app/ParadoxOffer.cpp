#include "ParadoxOffer.h"

#include "conversion/ConversionMessages.h"
#include "conversion/ParadoxConversion.h"

#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/LongWork.h"

#include <exception>

namespace
{
ParadoxConversion::Result convert(const QString &programDir,
                                  const std::vector<const TableDefinition *> &tables)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    // Stopping loses nothing: a table is converted whole or left as it was, offered again.
    LongWork progress(nullptr, ConversionMessages::progressTitle(),
                      ConversionMessages::progressTitle(), LongWork::Cancel::Offered);
    try {
        return ParadoxConversion::run(
            programDir, tables,
            [&progress](const QString &label, int permille) {
                progress.progress().setLabel(label);
                // Also while a reading gives nothing.
                progress.report(permille, 1000);
            },
            [&progress] { return progress.progress().stopRequested(); });
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
