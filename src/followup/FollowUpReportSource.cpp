#include "FollowUpReportSource.h"

#include "platform/core/Formats.h"

QString FollowUpReportSource::displayText(const QString &fieldName) const
{
    const ReimbursementFollowUp::Line &line = followUp_.lines().at(row_);
    if (fieldName == Date)
        return Formats::date(line.entry.date);
    if (fieldName == Beneficiary)
        return line.entry.beneficiary;
    if (fieldName == Doctor)
        return line.entry.doctor;
    if (fieldName == Payer)
        return AwaitedPayers::text(line.payer);
    if (fieldName == Age)
        return AgeBands::text(line.ageInDays);
    const std::optional<qint64> amount = cents(fieldName);
    return amount ? Formats::money(*amount) : QString();
}

std::optional<qint64> FollowUpReportSource::cents(const QString &fieldName) const
{
    const ReimbursementFollowUp::Line &line = followUp_.lines().at(row_);
    if (fieldName == Cost)
        return line.entry.cost;
    if (fieldName == Cpam)
        return line.entry.cpam;
    if (fieldName == Mutual)
        return line.entry.mutual;
    if (fieldName == Awaited)
        return line.awaited;
    return std::nullopt;
}
