#include "PasswordStore.h"

#include "PasswordHash.h"

#include "platform/core/FileNames.h"
#include "platform/core/PrivateProfile.h"

#include <QFileInfo>

namespace
{

StoredPassword readFile(const QString &ini)
{
    using namespace PasswordStore;
    return StoredPassword::of(PrivateProfile::readString(ini, section(), hashKey()),
                              PrivateProfile::readString(ini, section(), plainKey()));
}

// Writes the two keys, the hash first: a failure between the two leaves the new hash in
// force rather than the clear text alone.
void writeKeys(const QString &ini, const QString &hash, const QString &plain)
{
    using namespace PasswordStore;
    PrivateProfile::writeString(ini, section(), hashKey(), hash);
    if (PrivateProfile::readString(ini, section(), plainKey()) != plain)
        PrivateProfile::writeString(ini, section(), plainKey(), plain);
}

} // namespace

QString PasswordStore::iniPath(const QString &programDir)
{
    return FileNames::resolve(programDir, QStringLiteral("talo.ini"));
}

StoredPassword PasswordStore::read(const QString &programDir)
{
    return readFile(iniPath(programDir));
}

void PasswordStore::write(const QString &programDir, const QString &password)
{
    const QString hash = password.isEmpty() ? QString() : PasswordHash::make(password);
    writeKeys(iniPath(programDir), hash, QString());
}

void PasswordStore::carryOver(const QString &sourceIni, const QString &targetIni)
{
    const QString hash = PrivateProfile::readString(sourceIni, section(), hashKey());
    const QString plain = PrivateProfile::readString(sourceIni, section(), plainKey());
    if (!QFileInfo::exists(targetIni) && hash.isEmpty() && plain.isEmpty())
        return;
    writeKeys(targetIni, hash, plain);
}
