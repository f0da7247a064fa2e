#pragma once

#include <QString>
#include <QStringList>

// The French texts of the platform layer (table store, data-aware controls, masks, files), kept
// in one place so that every window says the same thing the same way.
namespace PlatformMessages
{

// Table store
QString requiredField(const QString &displayLabel);
QString invalidDate(const QString &text);
QString invalidAmount(const QString &text);
QString tooManyDecimals(const QString &text);
QString invalidNumber(const QString &text);
QString textTooLong(const QString &displayLabel, int size);
QString fieldNotFound(const QString &fieldName);
QString cannotOpenTable(const QString &path, const QString &reason);
QString tableFileMissing(const QString &path);
// The reason given for a table file of the original platform that was not converted.
QString paradoxTableNotConverted();
QString tableNotActive();
QString notEditing();
QString datasetEmpty();
QString readOnlyField(const QString &displayLabel);
QString recordVanished();
QString diskWriteFailed(const QString &path, const QString &reason);
// A table opened for reading only (read-only file or folder, full disk): no change is taken.
QString tableReadOnly(const QString &path, const QString &reason);
QString copyFailed(const QString &path, const QString &reason);

// Data-aware controls
QString deleteRecordQuestion();
QString invalidMaskInput();
// The record navigator's hints, in button order: first, prior, next, last, insert, delete,
// post, cancel.
QStringList navigatorHints();
// What each navigator button does, in the same order (read by screen readers).
QStringList navigatorDescriptions();

// Files
QString cannotWriteFile(const QString &path, const QString &reason);
QString cannotReadFile(const QString &path, const QString &reason);

// Help
QString helpFileMissing(const QString &path);
QString helpFileUnreadable(const QString &path);
QString helpFileNotHtml(const QString &path);

// Reports
QString noPrinter();
QString printFailed(const QString &printerName);
// A job the print server did not take; `printer` empty when not known.
QString documentNotSent(const QString &printer, const QString &reason);
QString printerRejectsJobs();
QString printServerDown();
QString printerNotFound();
QString printNotAllowed();
QString printDocumentNotPrepared();
QString reportPageTooSmall();

// Reasons given with cannotReadFile / cannotWriteFile
QString fileMissing();
QString pathIsFolder();
QString readAccessDenied();
QString readFailed();
QString folderMissing(const QString &folder);
QString folderNotCreated(const QString &folder);
QString writeAccessDenied();
QString writeFailed();
QString replaceFailed();
QString oldFileKept();
QString lineBreakInText();
QString profileValueTooLong(int maxLength);
QString profileBadName(const QString &name);

} // namespace PlatformMessages
