#pragma once

#include <QDate>
#include <QString>

// The French messages of the statement matching and of the reimbursements it writes.
namespace MatchingTexts
{
// Every refusal of a confirmation starts by saying that nothing was written.
QString nothingWritten(const QString &reason);
QString noEntry(const QDate &date, qint64 cents);
QString sharesDoNotAddUp(const QDate &date, qint64 cents, qint64 shares);
QString shareNotPositive(const QDate &date, qint64 cents);
QString entryTwice(const QDate &careDate, const QString &beneficiary);
QString entryGone(const QDate &date, qint64 cents);
QString alreadyReimbursed(const QDate &careDate, const QString &beneficiary, bool cpam,
                          const QDate &paidOn);
QString alreadyApplied(const QDate &date, qint64 cents, const QString &label);
QString notAPayer();
} // namespace MatchingTexts
