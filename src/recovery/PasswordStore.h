#pragma once

#include "StoredPassword.h"

#include <QString>

// The start-up password in talo.ini of the program directory, section "MotDePasse": its hash
// under "Empreinte"; "Chaine" is the clear text an earlier version kept, still accepted and
// emptied at the next write. An absent file, section or keys, or empty values, mean no
// password: the program then starts without asking.
namespace PasswordStore
{

inline QString section()
{
    return QStringLiteral("MotDePasse");
}
inline QString hashKey()
{
    return QStringLiteral("Empreinte");
}
inline QString plainKey()
{
    return QStringLiteral("Chaine");
}

// What is stored. talo.ini is found without regard to case. Throws PlatformError when the
// file exists but cannot be read.
StoredPassword read(const QString &programDir);

// Stores the hash of `password` and empties the clear text; an empty `password` empties both,
// which removes the gate from the next start. Throws PlatformError with the French reason,
// the old file left as it was.
void write(const QString &programDir, const QString &password);

// Gives the talo.ini at `targetIni` the password keys of `sourceIni` (emptied there when
// `sourceIni` has none), every other line of it unchanged: a restored talo.ini keeps the
// password in force. Throws PlatformError.
void carryOver(const QString &sourceIni, const QString &targetIni);

QString iniPath(const QString &programDir);

} // namespace PasswordStore
