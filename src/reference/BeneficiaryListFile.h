#pragma once

#include <QString>
#include <QStringList>

// LSTBENEF.LST, the beneficiary names between runs: one entry per line in list order, the first
// one standing for all beneficiaries. Entries are kept exactly as they are (no trimming, empty
// lines are empty entries, the first line is not checked).
namespace BeneficiaryListFile
{

inline QString fileName()
{
    return QStringLiteral("LSTBENEF.LST");
}

// The entries of the file found in `programDir` whatever the case of its name. Throws
// PlatformError when it cannot be read (typically: it does not exist yet).
QStringList load(const QString &programDir);

// Rewrites the file whole, each entry followed by CR LF; an existing file keeps its own
// spelling. Throws PlatformError, leaving the previous file intact.
void save(const QString &programDir, const QStringList &entries);

} // namespace BeneficiaryListFile
