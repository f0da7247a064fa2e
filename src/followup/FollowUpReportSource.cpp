#include "FollowUpReportSource.h"

#include "platform/core/Formats.h"

QString FollowUpReportSource::displayText(const QString &fieldName) const
{
    const ReimbursementFollowUp::Line line = followUp_.line(row_);
    if (fieldName == Date)
        return Formats::date(line.date);
    if (fieldName == Beneficiary)
        return line.beneficiary;
    if (fieldName == Doctor)
        return line.doctor;
    if (fieldName == Payer)
        return AwaitedPayers::text(line.payer);
    if (fieldName == Age)
        return AgeBands::text(line.ageInDays);
    const std::optional<qint64> amount = cents(fieldName);
    return amount ? Formats::money(*amount) : QString();
}

std::optional<qint64> FollowUpReportSource::cents(const QString &fieldName) const
{
    const ReimbursementFollowUp::Line line = followUp_.line(row_);
    if (fieldName == Cost)
        return line.cost;
    if (fieldName == Cpam)
        return line.cpam;
    if (fieldName == Mutual)
        return line.mutual;
    if (fieldName == Awaited)
        return line.awaited;
    return std::nullopt;
}
