#include "PlatformMessages.h"

namespace PlatformMessages {

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

QString tableNotActive()
{
    return QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données fermé");
}

QString notEditing()
{
    return QStringLiteral("L'ensemble de données n'est pas en mode édition ou insertion");
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

QString cannotWriteFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible d'écrire le fichier %1.\n%2").arg(path, reason);
}

QString cannotReadFile(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible de lire le fichier %1.\n%2").arg(path, reason);
}

} // namespace PlatformMessages
