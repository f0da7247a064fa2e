#pragma once

#include "ProofCheck.h"

#include <QByteArray>
#include <QString>

// One file taken into the proofs' folder, checked on the way. The file is opened without
// following a link and read from its descriptor only, so what is checked is what is kept,
// whatever happens to its name meanwhile. Its bytes go into a hidden temporary file of the
// folder (hashed as they go), whose signature and readability are then checked, and which is
// synced and renamed to its content's name only once whole: a full disk or a crash leaves at
// most a temporary file, never a stored file cut short.
namespace ProofIntake
{

struct Kept {
    QString storedName;
    qint64 size = 0;
    QByteArray sha256;
};

// Throws ProofError naming `source` and the reason. A file whose content is already kept is
// not stored twice.
Kept keep(const QString &folder, const QString &source, const ProofCheck &readable);

// The temporary files' prefix, for the collection of leftovers.
inline QString temporaryPrefix()
{
    return QStringLiteral(".piece-");
}

// The French reason `path` (a file already copied) is not a complete PDF, JPEG or PNG; empty
// when its signatures are right. `kind` receives the kind found.
QString signatureProblem(const QString &path, ProofKind *kind);

} // namespace ProofIntake
