#include "DataCommands.h"

#include "ProgramLock.h"
#include "TFrmPrincipale.h"
#include "TaloWindows.h"

#include "MainBackupSources.h"
#include "platform/core/PlatformError.h"
#include "platform/core/Today.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/LongWork.h"
#include "recovery/AutomaticBackup.h"
#include "recovery/ExitCopyMessages.h"
#include "recovery/PendingRestore.h"
#include "recovery/RestoreCandidate.h"
#include "recovery/RestoreSwap.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "reports/TFrmExporter.h"
#include "safety/TFrmRestaurer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <optional>

void DataCommands::exportTables(TFrmPrincipale &main, TaloWindows &windows)
{
    if (!main.postPendingRecords(true))
        return;
    TFrmExporter dialog(main.tableTous(), windows.frmMedecins->tableMedecins(),
                        windows.frmInfos->tableAssure(), &main);
    dialog.exec();
}

void DataCommands::restore(TFrmPrincipale &main)
{
    // What is moved aside must be what the windows show: typed records and side files first.
    if (!main.postPendingRecords(true))
        return;
    try {
        main.writeSideFiles();
    } catch (const PlatformError &e) {
        Dialogs::error(&main, QStringLiteral("Ces fichiers n'ont pas pu être enregistrés :\n\n%1"
                                             "\n\nLa restauration n'est pas commencée.")
                                  .arg(e.message()));
        return;
    }
    TFrmRestaurer dialog(main.programDir(), &main);
    if (dialog.exec() != QDialog::Accepted || !PendingRestore::isSet())
        return;
    main.leaveWithoutQuestion();
}

void DataCommands::backUpAtExit(TFrmPrincipale &main, TaloWindows &windows, bool sideFilesWritten)
{
    const QDate day = Today::date();
    const QDate later = AutomaticBackup::copyDatedAfter(main.programDir(), day);
    const QString clockWarning =
        later.isValid() ? ExitCopyMessages::clockBehind(day, later) : QString();
    std::optional<QString> failure;
    try {
        // Not stopped: the exit goes on once it is made.
        // On this thread: the copy asks the windows for their tables, and reads the files
        // through connections of its own.
        LongWork work(&main, QStringLiteral("Talo 3.0"), QStringLiteral("Sauvegarde en cours…"),
                      LongWork::Cancel::NotOffered);
        const BackupCopy::CopyProgress progress{
            [&work](qint64 copied, qint64 total) { return work.report(copied, total); }, [] {}};
        AutomaticBackup::run(main.programDir(), day, *windows.backupSources, &progress);
    } catch (const PlatformError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    if (failure)
        Dialogs::error(&main, ExitCopyMessages::failure(
                                  *failure,
                                  ExitCopyMessages::notSaved(main.programDir(), sideFilesWritten),
                                  clockWarning));
    else if (!clockWarning.isEmpty())
        Dialogs::information(&main, ExitCopyMessages::madeWithClockBehind(clockWarning));
}

bool DataCommands::finishPendingRestore(const QString &programDir)
{
    const std::unique_ptr<RestoreCandidate> candidate = PendingRestore::take();
    if (!candidate)
        return false;
    // No other copy may open the tables while they change hands.
    ProgramLock lock(programDir);
    if (lock.state() == ProgramLock::State::HeldElsewhere) {
        Dialogs::error(nullptr, QStringLiteral("La restauration n'a pas pu se faire : une autre "
                                               "copie de Talo 3.0 utilise ce dossier.\n\nVos "
                                               "données actuelles sont restées telles qu'elles "
                                               "étaient."));
        return false;
    }
    try {
        const QString aside =
            RestoreSwap::run(programDir, candidate->stagingFolder(), candidate->fileNames(),
                             RestoreCandidate::tableFileNames(), QDateTime::currentDateTime());
        Dialogs::information(nullptr, QStringLiteral("La copie de sauvegarde est restaurée.\n\n"
                                                     "Les fichiers qu'elle remplace sont dans le "
                                                     "dossier « %1 ».\n\nTalo 3.0 redémarre pour "
                                                     "afficher les données restaurées.")
                                          .arg(QFileInfo(aside).fileName()));
    } catch (const PlatformError &e) {
        Dialogs::error(nullptr, QStringLiteral("La restauration n'a pas pu se faire :\n\n%1\n\n"
                                               "Vos données actuelles sont restées telles "
                                               "qu'elles étaient. Talo 3.0 redémarre avec elles.")
                                    .arg(e.message()));
    }
    return true;
}
