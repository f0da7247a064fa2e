#include "ProofViewMessages.h"

QString ProofViewMessages::count(int proofs)
{
    if (proofs == 0)
        return QStringLiteral("Aucune pièce jointe");
    if (proofs == 1)
        return QStringLiteral("1 pièce jointe");
    return QStringLiteral("%1 pièces jointes").arg(proofs);
}

QString ProofViewMessages::noEntry()
{
    return QStringLiteral("Aucun soin n'est choisi : enregistrez d'abord le soin auquel joindre "
                          "des pièces.");
}

QString ProofViewMessages::askRemove(const QString &name)
{
    return QStringLiteral("Supprimer la pièce jointe « %1 » ?").arg(name);
}

QString ProofViewMessages::unreadableInDossier(const QString &name)
{
    return QStringLiteral("La pièce jointe « %1 » ne peut plus être lue.").arg(name);
}

QString ProofViewMessages::dossierFailed(const QString &reason)
{
    const QString text = QStringLiteral("Le dossier pour la mutuelle n'a pas pu être créé.");
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

QString ProofViewMessages::dossierWritten(const QString &path, int pages)
{
    return QStringLiteral("Le dossier pour la mutuelle est prêt (%1 page%2) :\n%3")
        .arg(pages)
        .arg(pages > 1 ? QStringLiteral("s") : QString(), path);
}

QString ProofViewMessages::noCareChosen()
{
    return QStringLiteral("Aucun soin n'est choisi pour le dossier de la mutuelle.");
}

QString ProofViewMessages::cannotOpen(const QString &name)
{
    return QStringLiteral("Aucun programme du bureau n'a pu ouvrir la pièce jointe « %1 ».")
        .arg(name);
}

QString ProofViewMessages::fileFilter()
{
    return QStringLiteral("Pièces justificatives (*.pdf *.PDF *.jpg *.JPG *.jpeg *.JPEG *.png "
                          "*.PNG);;Tous les fichiers (*)");
}

QString ProofViewMessages::unreadable(const QString &name)
{
    return QStringLiteral("La pièce jointe « %1 » ne peut pas être affichée : le fichier "
                          "n'est pas un document PDF ou une image lisible.")
        .arg(name);
}

QString ProofViewMessages::copyFailed(const QString &name)
{
    return QStringLiteral("La pièce jointe « %1 » n'a pas pu être préparée pour son ouverture.")
        .arg(name);
}
