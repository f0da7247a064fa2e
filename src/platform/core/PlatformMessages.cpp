#include "PlatformMessages.h"

namespace PlatformMessages
{

QString requiredField(const QString &displayLabel)
{
    return QStringLiteral("Le champ '%1' doit avoir une valeur").arg(displayLabel);
}

QString invalidDate(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une date correcte").arg(text);
}

QString invalidAmount(const QString &text)
{
    return QStringLiteral("'%1' n'est pas un montant correct").arg(text);
}

QString tooManyDecimals(const QString &text)
{
    return QStringLiteral("'%1' n'est pas un montant correct : deux décimales au plus.").arg(text);
}

QString invalidNumber(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une valeur numérique correcte").arg(text);
}

QString textTooLong(const QString &displayLabel, int size)
{
    return QStringLiteral("Le champ '%1' ne peut pas contenir plus de %2 caractères")
        .arg(displayLabel)
        .arg(size);
}

QString fieldNotFound(const QString &fieldName)
{
    return QStringLiteral("Champ '%1' non trouvé").arg(fieldName);
}

QString cannotOpenTable(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible d'ouvrir la table.\nFichier : %1\n%2").arg(path, reason);
}

QString tableFileMissing(const QString &path)
{
    return QStringLiteral("Table introuvable.\nFichier : %1").arg(path);
}

QString paradoxTableNotConverted()
{
    return QStringLiteral("C'est une table Paradox, qui n'a pas été convertie : Talo 3.0 ne peut "
                          "pas l'ouvrir. Elle est laissée telle quelle ; au prochain démarrage, "
                          "répondez Oui à la proposition de conversion.");
}

QString tableNotActive()
{
    return QStringLiteral(
        "Impossible d'effectuer cette opération sur un ensemble de données fermé");
}

QString notEditing()
{
    return QStringLiteral("L'ensemble de données n'est pas en mode édition ou insertion");
}

QString datasetEmpty()
{
    return QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données vide");
}

QString readOnlyField(const QString &displayLabel)
{
    return QStringLiteral("Le champ '%1' ne peut pas être modifié").arg(displayLabel);
}

QString recordVanished()
{
    return QStringLiteral("L'enregistrement n'existe plus dans la table : il a été supprimé "
                          "par ailleurs.");
}

QString diskWriteFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible d'enregistrer dans le fichier %1.\n%2").arg(path, reason);
}

QString tableReadOnly(const QString &path, const QString &reason)
{
    return QStringLiteral("La table est ouverte en lecture seule : aucune modification ne peut "
                          "y être enregistrée.\nFichier : %1\n%2")
        .arg(path, reason);
}

QString copyFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible de copier la table vers %1.\n%2").arg(path, reason);
}

QString deleteRecordQuestion()
{
    return QStringLiteral("Supprimer l'enregistrement ?");
}

QString invalidMaskInput()
{
    return QStringLiteral(
        "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");
}

QStringList navigatorHints()
{
    return {
        QStringLiteral("Premier enregistrement"), QStringLiteral("Enregistrement précédent"),
        QStringLiteral("Enregistrement suivant"), QStringLiteral("Dernier enregistrement"),
        QStringLiteral("Ajouter enregistrement"), QStringLiteral("Supprimer enregistrement"),
        QStringLiteral("Valider enregistrement"), QStringLiteral("Annuler modifications"),
    };
}

QStringList navigatorDescriptions()
{
    return {
        QStringLiteral("Va à la première fiche"),
        QStringLiteral("Va à la fiche précédente"),
        QStringLiteral("Va à la fiche suivante"),
        QStringLiteral("Va à la dernière fiche"),
        QStringLiteral("Ajoute une fiche vide"),
        QStringLiteral("Supprime la fiche affichée, après confirmation"),
        QStringLiteral("Enregistre la fiche modifiée"),
        QStringLiteral("Abandonne les modifications de la fiche"),
    };
}

QString cannotWriteFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible d'écrire le fichier %1.\n%2").arg(path, reason);
}

QString cannotReadFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible de lire le fichier %1.\n%2").arg(path, reason);
}

QString helpFileMissing(const QString &path)
{
    return QStringLiteral("Le fichier d'aide %1 est introuvable.").arg(path);
}

QString helpFileUnreadable(const QString &path)
{
    return QStringLiteral("Le fichier d'aide %1 ne peut pas être lu.").arg(path);
}

QString helpFileNotHtml(const QString &path)
{
    return QStringLiteral("Le fichier d'aide %1 n'est pas au format attendu (document HTML).")
        .arg(path);
}

QString fileMissing()
{
    return QStringLiteral("Le fichier n'existe pas.");
}

QString pathIsFolder()
{
    return QStringLiteral("Ce nom est celui d'un dossier, pas d'un fichier.");
}

QString readAccessDenied()
{
    return QStringLiteral("Accès refusé : le fichier ne peut pas être lu.");
}

QString readFailed()
{
    return QStringLiteral("Erreur de lecture du disque.");
}

QString folderMissing(const QString &folder)
{
    return QStringLiteral("Le dossier %1 n'existe pas.").arg(folder);
}

QString folderNotCreated(const QString &folder)
{
    return QStringLiteral("Impossible de créer le dossier %1.").arg(folder);
}

QString writeAccessDenied()
{
    return QStringLiteral("Accès refusé : le dossier ou le fichier est protégé en écriture.");
}

QString writeFailed()
{
    return QStringLiteral("Erreur d'écriture : le disque est peut-être plein ou protégé en "
                          "écriture.");
}

QString replaceFailed()
{
    return QStringLiteral("Le nouveau contenu n'a pas pu remplacer l'ancien fichier.");
}

QString oldFileKept()
{
    return QStringLiteral("L'ancien fichier est conservé tel quel.");
}

QString lineBreakInText()
{
    return QStringLiteral("Le texte contient un saut de ligne, qui ne peut pas être enregistré "
                          "sur une seule ligne. Rien n'a été modifié.");
}

QString profileValueTooLong(int maxLength)
{
    return QStringLiteral("La valeur dépasse %1 caractères : elle ne pourrait pas être relue en "
                          "entier. Rien n'a été modifié.")
        .arg(maxLength);
}

QString profileBadName(const QString &name)
{
    return QStringLiteral("Nom de section ou de clé incorrect : '%1'. Rien n'a été modifié.")
        .arg(name);
}

QString noPrinter()
{
    return QStringLiteral("Aucune imprimante n'est installée. Installez une imprimante ou utilisez "
                          "l'aperçu pour enregistrer le document en PDF.");
}

QString printFailed(const QString &printerName)
{
    if (printerName.isEmpty())
        return QStringLiteral("L'impression a échoué. Vérifiez l'imprimante puis recommencez.");
    return QStringLiteral("L'impression sur l'imprimante %1 a échoué. Vérifiez l'imprimante "
                          "puis recommencez.")
        .arg(printerName);
}

QString documentNotSent(const QString &printer, const QString &reason)
{
    if (printer.isEmpty())
        return QStringLiteral("Le document n'a pas pu être envoyé à l'imprimante : %1.")
            .arg(reason);
    return QStringLiteral("Le document n'a pas pu être envoyé à l'imprimante « %1 » : %2.")
        .arg(printer, reason);
}

QString printerRejectsJobs()
{
    return QStringLiteral("l'imprimante refuse les travaux d'impression");
}

QString printServerDown()
{
    return QStringLiteral("le service d'impression ne répond pas (vérifiez qu'il est démarré)");
}

QString printerNotFound()
{
    return QStringLiteral("cette imprimante n'existe plus sur le service d'impression");
}

QString printNotAllowed()
{
    return QStringLiteral("le service d'impression n'autorise pas cette impression");
}

QString printDocumentNotPrepared()
{
    return QStringLiteral("il n'a pas pu être préparé dans le dossier temporaire");
}

QString reportPageTooSmall()
{
    return QStringLiteral("Le format de papier de l'imprimante est trop petit pour ce document.");
}

} // namespace PlatformMessages
