#include "ProofInventory.h"

#include "ProofError.h"
#include "ProofMessages.h"
#include "ProofStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

bool ProofInventory::isStoredName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{64}\\.(pdf|jpg|png)$"));
    return pattern.match(name).hasMatch();
}

QByteArray ProofInventory::sha256Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result();
}

int ProofInventory::verify(const QString &taloDbPath, const QString &proofsFolder,
                           const QSet<QString> &hashed)
{
    const std::vector<ProofLink> links = ProofStore::linksIn(taloDbPath);
    QSet<QString> checked = hashed;
    for (const ProofLink &link : links) {
        if (!isStoredName(link.storedName) ||
            link.storedName.left(64) != QString::fromLatin1(link.sha256.toHex()))
            throw ProofError(ProofMessages::fileAltered(link.shownName, link.storedName));
        const QString path = QDir(proofsFolder).filePath(link.storedName);
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            throw ProofError(ProofMessages::fileMissing(link.shownName, link.storedName));
        if (info.isSymLink() || !info.isFile() || info.size() != link.size)
            throw ProofError(ProofMessages::fileAltered(link.shownName, link.storedName));
        if (checked.contains(link.storedName))
            continue;
        if (sha256Of(path) != link.sha256)
            throw ProofError(ProofMessages::fileAltered(link.shownName, link.storedName));
        checked.insert(link.storedName);
    }
    return int(links.size());
}
