#pragma once

#include <QString>
#include <QStringList>

// Where the backup window opens, and whether the folder chosen already holds someone's own
// files. The folder of the last backup is kept in talo.ini (section "Sauvegarde", key
// "DernierDossier") so that the next run opens there.
namespace BackupPlace
{

QString section();
QString folderKey();

// The folder of the last backup, or empty when none is remembered (or talo.ini is unreadable:
// the window then opens elsewhere, which is no reason to refuse a backup).
QString remembered(const QString &programDir);
// Throws PlatformError with the French reason when talo.ini cannot take it.
void remember(const QString &programDir, const QString &folder);

// The roots of the mounted volumes that can be browsed, in order.
QStringList volumeRoots();

// The folder the window opens on: the remembered one while it exists, else the first disk
// mounted under /media (where the desktop mounts a USB key or an external disk), else home.
QString startingFolder(const QString &remembered, const QStringList &volumeRoots,
                       const QString &home);

// The visible entries of `folder` that a backup would not write there: anything but the
// three tables (with their journal companions) and the files listed in the program's
// talo.ini, matched without regard to case, sorted. Hidden entries (a desktop's trash,
// leftovers of an interrupted write) do not count.
QStringList foreignEntries(const QString &folder, const QString &programDir);

// The Oui/Non question asked before writing among those entries.
QString foreignEntriesQuestion(const QString &folder, const QStringList &entries);
// The one line shown once the copy is complete.
QString copiedMessage(int tables, int files, const QString &folder);

} // namespace BackupPlace
