#include "MatchingTexts.h"

#include "platform/core/Formats.h"

QString MatchingTexts::nothingWritten(const QString &reason)
{
    return QStringLiteral("Aucun remboursement n'a été reporté.\n%1").arg(reason);
}

QString MatchingTexts::noEntry(const QDate &date, qint64 cents)
{
    return QStringLiteral("Le paiement du %1 (%2) n'est attribué à aucun soin.")
        .arg(Formats::date(date), Formats::money(cents));
}

QString MatchingTexts::sharesDoNotAddUp(const QDate &date, qint64 cents, qint64 shares)
{
    return QStringLiteral("Les parts du paiement du %1 font %2 au lieu de %3.")
        .arg(Formats::date(date), Formats::money(shares), Formats::money(cents));
}

QString MatchingTexts::shareNotPositive(const QDate &date, qint64 cents)
{
    return QStringLiteral("Le paiement du %1 (%2) a une part nulle ou négative.")
        .arg(Formats::date(date), Formats::money(cents));
}

QString MatchingTexts::entryTwice(const QDate &careDate, const QString &beneficiary)
{
    return QStringLiteral("Le soin du %1 de %2 reçoit deux paiements du même payeur.")
        .arg(Formats::date(careDate), beneficiary);
}

QString MatchingTexts::entryGone(const QDate &date, qint64 cents)
{
    return QStringLiteral("Un soin du paiement du %1 (%2) n'est plus dans le registre.")
        .arg(Formats::date(date), Formats::money(cents));
}

QString MatchingTexts::alreadyReimbursed(const QDate &careDate, const QString &beneficiary,
                                         bool cpam, const QDate &paidOn)
{
    return QStringLiteral("Le soin du %1 de %2 a déjà un remboursement %3 daté du %4.")
        .arg(Formats::date(careDate), beneficiary,
             cpam ? QStringLiteral("de la C.P.A.M.") : QStringLiteral("de la mutuelle"),
             Formats::date(paidOn));
}

QString MatchingTexts::alreadyApplied(const QDate &date, qint64 cents, const QString &label)
{
    return QStringLiteral("Le paiement du %1 (%2, « %3 ») a déjà été reporté.")
        .arg(Formats::date(date), Formats::money(cents), label);
}

QString MatchingTexts::notAPayer()
{
    return QStringLiteral("Un paiement n'est attribué ni à la C.P.A.M. ni à la mutuelle.");
}
