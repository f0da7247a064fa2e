#include "StatementMessages.h"

#include <QFileInfo>

namespace StatementMessages
{

namespace
{
QString nameOf(const QString &file)
{
    return QFileInfo(file).fileName();
}
} // namespace

QString cannotOpen(const QString &file, const QString &reason)
{
    return QStringLiteral("Le relevé « %1 » ne peut pas être ouvert : %2")
        .arg(nameOf(file), reason);
}

QString empty(const QString &file)
{
    return QStringLiteral("Le relevé « %1 » est vide (ligne 1) : il ne contient aucune opération.")
        .arg(nameOf(file));
}

QString tooLarge(const QString &file)
{
    return QStringLiteral("Le fichier « %1 » est trop grand pour être un relevé bancaire "
                          "(plus de 64 Mo) ; il n'a pas été lu.")
        .arg(nameOf(file));
}

QString atLine(const QString &file, int line, const QString &reason)
{
    return QStringLiteral("Le relevé « %1 » ne peut pas être importé.\n\nLigne %2 : %3\n\n"
                          "Rien n'a été importé.")
        .arg(nameOf(file))
        .arg(line)
        .arg(reason);
}

QString notRead(const QString &file, const QString &reason)
{
    return QStringLiteral("Le relevé « %1 » ne peut pas être importé : %2\n\nRien n'a été "
                          "importé.")
        .arg(nameOf(file), reason);
}

QString notText()
{
    return QStringLiteral("le fichier contient des caractères qui ne sont pas du texte ; ce "
                          "n'est ni un relevé OFX ni un relevé CSV.");
}

QString unclosedQuote()
{
    return QStringLiteral("un guillemet ouvert ici n'est jamais refermé ; le fichier est "
                          "peut-être incomplet.");
}

QString noColumns()
{
    return QStringLiteral("aucune ligne ne contient de colonnes séparées par « ; », « , » ou une "
                          "tabulation ; ce n'est ni un relevé OFX ni un relevé CSV.");
}

QString noOperations()
{
    return QStringLiteral("aucune ligne ne contient une date et un montant ; ce n'est ni un "
                          "relevé OFX ni un relevé CSV.");
}

QString notOfx()
{
    return QStringLiteral("le fichier ne contient pas de relevé OFX (balise <OFX> absente).");
}

QString unclosedTag()
{
    return QStringLiteral("une balise ouverte par « < » n'est jamais refermée par « > ».");
}

QString transactionInTransaction(int openedAt)
{
    return QStringLiteral("une opération commence avant la fin de celle de la ligne %1.")
        .arg(openedAt);
}

QString endWithoutStart()
{
    return QStringLiteral("fin d'une opération qui n'a pas commencé.");
}

QString truncatedInTransaction(int openedAt)
{
    return QStringLiteral("le fichier s'arrête au milieu de l'opération commencée ligne %1 ; il "
                          "est incomplet.")
        .arg(openedAt);
}

QString truncatedBeforeEnd()
{
    return QStringLiteral("le fichier s'arrête avant la fin du relevé (</OFX>) ; il est "
                          "incomplet.");
}

QString missingOfxField(const QString &tag)
{
    return QStringLiteral("l'opération n'a pas de <%1>.").arg(tag);
}

QString badOfxDate(const QString &text)
{
    return QStringLiteral("« %1 » n'est pas une date (AAAAMMJJ attendu).").arg(text);
}

QString badOfxAmount(const QString &text)
{
    return QStringLiteral("« %1 » n'est pas un montant en euros et centimes.").arg(text);
}

QString ofxRefused()
{
    return QStringLiteral("le fichier n'est pas conforme au format OFX à partir de cette "
                          "opération.");
}

QString ofxReaderFailed()
{
    return QStringLiteral("le lecteur OFX n'a pas pu se préparer (fichier temporaire).");
}

QString missingCells(int found, int needed)
{
    return QStringLiteral("la ligne n'a que %1 colonne(s) au lieu d'au moins %2 ; elle est "
                          "peut-être tronquée.")
        .arg(found)
        .arg(needed);
}

QString badDate(const QString &text)
{
    return QStringLiteral("« %1 » n'est pas une date (jj/mm/aaaa attendu).").arg(text);
}

QString missingAmount()
{
    return QStringLiteral("l'opération n'a pas de montant.");
}

QString badAmount(const QString &text)
{
    return QStringLiteral("« %1 » n'est pas un montant en euros.").arg(text);
}

QString debitAndCredit()
{
    return QStringLiteral("l'opération a à la fois un débit et un crédit.");
}

QString noDate()
{
    return QStringLiteral("cette ligne du tableau n'a pas de date d'opération.");
}

QString noTransactions()
{
    return QStringLiteral("aucune opération ne suit cette ligne.");
}

QString columnsOutOfRange()
{
    return QStringLiteral("les colonnes choisies ne sont pas toutes dans le tableau.");
}

} // namespace StatementMessages
