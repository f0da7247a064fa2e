#pragma once

#include <QString>

// The French texts of the proofs: each refusal names the file and says why.
namespace ProofMessages
{
QString refused(const QString &path, const QString &reason);
QString tooLarge();
QString empty();
QString unknownKind();
QString truncatedPdf();
QString truncatedJpeg();
QString grewWhileRead();
QString folderNotMade(const QString &folder);
QString notStored(const QString &folder, const QString &reason);
QString entryMissing(qint64 entryNumber);
QString linkMissing();
QString nameEmpty();
QString nameTooLong(int max);
// A stored file a link refers to, checked in a copy or in the program directory.
QString fileMissing(const QString &shownName, const QString &storedName);
QString fileAltered(const QString &shownName, const QString &storedName);
} // namespace ProofMessages
