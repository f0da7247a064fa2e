#include "PasswordStore.h"

#include "platform/core/FileNames.h"
#include "platform/core/PrivateProfile.h"

namespace
{
const QString section = QStringLiteral("MotDePasse");
const QString key = QStringLiteral("Chaine");
} // namespace

QString PasswordStore::iniPath(const QString &programDir)
{
    return FileNames::resolve(programDir, QStringLiteral("talo.ini"));
}

QString PasswordStore::read(const QString &programDir)
{
    return PrivateProfile::readString(iniPath(programDir), section, key, QString());
}

void PasswordStore::write(const QString &programDir, const QString &password)
{
    PrivateProfile::writeString(iniPath(programDir), section, key, password);
}
