#pragma once

#include <QString>
#include <QStringList>

// The French texts of the conversion of Paradox tables.
namespace ConversionMessages
{

QString offer(const QStringList &tableFiles);
QString archiveFolderName();

QString cannotRead(const QString &reason);
QString noMemory();
QString badHeader();
QString truncated();
QString badRecord(int index);

QString cannotCopy(const QString &file, const QString &folder, const QString &reason);
QString originalUnreadable();
QString archiveNotCreated(const QString &folder);
QString tableInTheWay(const QString &path);
QString cannotWrite(const QString &path, const QString &reason);

// Reasons for a row left out.
QString requiredEmpty(const QString &field);
QString textTooLong(const QString &field, int length, int size);
QString badDate(const QString &field);
QString badAmount(const QString &field);
QString memoUnreadable(const QString &field);

QString fieldNotCarried(const QString &field);
QString fieldOfUnknownKind(const QString &field);

// The summary, put together by ParadoxConversion.
QString convertedRows(const QString &tableFile, int count);
QString rowsLeftOut(int count);
QString rowLeftOut(int number, const QString &description, const QString &reason);
QString moreRowsLeftOut(int count);
QString fieldsNotCarried(const QStringList &fields);
QString tableNotConverted(const QString &tableFile, const QString &reason);
QString originalsKept(const QString &folder);
QString unexpectedFailure();

// Reasons a Paradox table read in its own process is refused.
QString readerSilent(int seconds);
QString readerStopped();
QString readerGarbled();
QString readerNotStarted();

// The reason of a table left as it was because the person stopped the conversion.
QString cancelled();
// The progress window.
QString progressTitle();
QString progressReading(const QString &tableFile);
QString progressRows(const QString &tableFile, int read, int total);
QString progressWriting(const QString &tableFile);

} // namespace ConversionMessages
