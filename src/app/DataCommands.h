#pragma once

#include <QString>

class TFrmPrincipale;
struct TaloWindows;

// The commands that take data out of the program or bring it back: export to CSV, restore of
// a backup, and the automatic copy at exit.
namespace DataCommands
{

// " Exporter...": what is being typed is posted first, so that the file holds it.
void exportTables(TFrmPrincipale &main, TaloWindows &windows);
// " Restaurer une copie de sauvegarde...": once confirmed, the program leaves its loop
// without the exit question; main() then calls finishPendingRestore.
void restore(TFrmPrincipale &main);
// The copy of a confirmed exit. A failure is shown, saying whether the data are all in the
// program directory (`sideFilesWritten`: the exit's own write of the side files worked), and
// the exit goes on; a clock behind the latest-dated copy is told.
void backUpAtExit(TFrmPrincipale &main, TaloWindows &windows, bool sideFilesWritten);
// With every window and table closed: the confirmed restore put in place (the program
// directory locked meanwhile) and its outcome shown. True when the program is to start
// again.
bool finishPendingRestore(const QString &programDir);
} // namespace DataCommands
