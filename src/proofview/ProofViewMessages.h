#pragma once

#include <QString>

// The French texts of the proofs' windows and of the file for the mutuelle.
namespace ProofViewMessages
{

QString count(int proofs);
QString noEntry();
QString askRemove(const QString &name);
QString unreadableInDossier(const QString &name);
QString dossierFailed(const QString &reason);
QString dossierWritten(const QString &path, int pages);
QString noCareChosen();
QString cannotOpen(const QString &name);
QString fileFilter();
QString unreadable(const QString &name);
QString copyFailed(const QString &name);

} // namespace ProofViewMessages
