#pragma once

#include <QString>

// The start-up password kept in clear in talo.ini of the program directory, section
// "MotDePasse", key "Chaine". An absent file, section or key, or an empty value, means no
// password: the program then starts without asking.
namespace PasswordStore
{

// The stored password, empty when none is set. talo.ini is found without regard to case.
// Throws PlatformError when the file exists but cannot be read.
QString read(const QString &programDir);

// Stores `password` exactly as typed; an empty one removes the gate from the next start.
// Throws PlatformError with the French reason, the old file left as it was.
void write(const QString &programDir, const QString &password);

QString iniPath(const QString &programDir);

} // namespace PasswordStore
