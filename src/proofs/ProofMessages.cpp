#include "ProofMessages.h"

#include <QDir>

QString ProofMessages::refused(const QString &path, const QString &reason)
{
    return QStringLiteral("Le fichier %1 ne peut pas être joint : %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString ProofMessages::tooLarge()
{
    return QStringLiteral("il dépasse 50 Mo.");
}

QString ProofMessages::empty()
{
    return QStringLiteral("il est vide.");
}

QString ProofMessages::unknownKind()
{
    return QStringLiteral("ce n'est ni un document PDF, ni une image JPEG ou PNG.");
}

QString ProofMessages::truncatedPdf()
{
    return QStringLiteral("le document PDF est incomplet (sa fin manque).");
}

QString ProofMessages::truncatedJpeg()
{
    return QStringLiteral("l'image JPEG est incomplète (sa fin manque).");
}

QString ProofMessages::grewWhileRead()
{
    return QStringLiteral("il a changé pendant sa lecture.");
}

QString ProofMessages::folderNotMade(const QString &folder)
{
    return QStringLiteral("Le dossier des pièces jointes %1 ne peut pas être créé.")
        .arg(QDir::toNativeSeparators(folder));
}

QString ProofMessages::notStored(const QString &folder, const QString &reason)
{
    return QStringLiteral("la copie dans %1 a échoué (%2). Rien n'a été joint.")
        .arg(QDir::toNativeSeparators(folder), reason);
}

QString ProofMessages::entryMissing(qint64 entryNumber)
{
    return QStringLiteral("La fiche n° %1 n'existe plus : les pièces ne sont pas jointes.")
        .arg(entryNumber);
}

QString ProofMessages::linkMissing()
{
    return QStringLiteral("Cette pièce jointe n'existe plus.");
}

QString ProofMessages::nameEmpty()
{
    return QStringLiteral("Le nom d'une pièce jointe ne peut pas être vide.");
}

QString ProofMessages::nameTooLong(int max)
{
    return QStringLiteral("Le nom d'une pièce jointe ne peut pas dépasser %1 caractères.").arg(max);
}

QString ProofMessages::fileMissing(const QString &shownName, const QString &storedName)
{
    return QStringLiteral("La pièce jointe « %1 » (fichier %2) est absente.")
        .arg(shownName, storedName);
}

QString ProofMessages::fileAltered(const QString &shownName, const QString &storedName)
{
    return QStringLiteral("La pièce jointe « %1 » (fichier %2) a été modifiée ou abîmée : sa "
                          "taille ou son empreinte ne correspond plus.")
        .arg(shownName, storedName);
}
