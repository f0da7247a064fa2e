#include "PasswordHash.h"

#include "platform/core/PlatformError.h"

#include <sodium.h>

namespace
{

void initialise()
{
    // sodium_init is safe to call again, but once is enough; a failure leaves the library
    // unusable, which make() reports.
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw PlatformError(QStringLiteral("La bibliothèque de chiffrement n'a pas pu démarrer : "
                                           "le mot de passe ne peut pas être vérifié."));
}

} // namespace

QString PasswordHash::make(const QString &password)
{
    initialise();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw PlatformError(QStringLiteral("Le mot de passe n'a pas pu être chiffré (mémoire "
                                           "insuffisante). L'ancien reste en vigueur."));
    return QString::fromLatin1(out);
}

bool PasswordHash::matches(const QString &hash, const QString &password)
{
    initialise();
    const QByteArray stored = hash.toLatin1();
    if (hash.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
}
