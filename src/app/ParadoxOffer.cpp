#include "ParadoxOffer.h"

#include "conversion/ConversionMessages.h"
#include "conversion/ParadoxConversion.h"

#include "platform/widgets/Dialogs.h"

#include <QApplication>

void ParadoxOffer::run(const QString &programDir)
{
    const auto tables = ParadoxConversion::pending(programDir);
    if (tables.empty())
        return;
    if (!Dialogs::question(nullptr,
                           ConversionMessages::offer(ParadoxConversion::fileNames(tables))))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ParadoxConversion::Result result = ParadoxConversion::run(programDir, tables);
    QApplication::restoreOverrideCursor();
    if (result.complete())
        Dialogs::information(nullptr, result.summary());
    else
        Dialogs::warning(nullptr, result.summary());
}
