#pragma once

#include <QString>

// A password kept as a salted, deliberately slow hash (libsodium's Argon2id string form,
// "$argon2id$v=19$m=...,t=...,p=...$salt$hash"), so that talo.ini and every copy of it tell
// nothing of the password itself. Interactive limits keep the start-up check under a second.
namespace PasswordHash
{

// A new hash of `password` (its UTF-8 bytes), with a fresh salt. Throws PlatformError when
// the system cannot give the memory the hash needs.
QString make(const QString &password);

// True when `password` is the one `hash` was made from. A text that is not such a hash
// never matches.
bool matches(const QString &hash, const QString &password);

} // namespace PasswordHash
