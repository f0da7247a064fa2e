#include "YearSummaryReportSource.h"

#include "platform/core/Formats.h"

const QStringList &YearSummaryReportSource::amountFields()
{
    static const QStringList fields = {QStringLiteral("Cout"),
                                       QStringLiteral("CPAM"),
                                       QStringLiteral("Mutuelle"),
                                       QStringLiteral("AttenduCPAM"),
                                       QStringLiteral("AttenduMutuelle"),
                                       QStringLiteral("AVerifier"),
                                       QStringLiteral("Reste")};
    return fields;
}

YearSummaryReportSource::YearSummaryReportSource(const YearSummary &summary)
{
    const auto heading = [](const QString &caption) {
        Printed printed;
        printed.row.name = caption;
        printed.heading = true;
        return printed;
    };
    rows_ << heading(QStringLiteral("Par bénéficiaire"));
    for (const YearSummary::Row &row : summary.byBeneficiary())
        rows_ << Printed{row};
    rows_ << Printed{summary.total()};
    rows_ << heading(QStringLiteral("Par spécialité"));
    for (const YearSummary::Row &row : summary.bySpeciality())
        rows_ << Printed{row};
    rows_ << Printed{summary.total()};
}

QString YearSummaryReportSource::displayText(const QString &fieldName) const
{
    const Printed &printed = rows_.at(row_);
    if (fieldName == Name)
        return printed.row.name;
    if (printed.heading)
        return QString();
    if (fieldName == Count)
        return QString::number(printed.row.count);
    const std::optional<qint64> amount = cents(fieldName);
    return amount ? Formats::money(*amount) : QString();
}

std::optional<qint64> YearSummaryReportSource::cents(const QString &fieldName) const
{
    const Printed &printed = rows_.at(row_);
    if (printed.heading)
        return std::nullopt;
    const YearSummary::Row &r = printed.row;
    const qint64 amounts[] = {r.cost,    r.cpam,  r.mutual, r.awaitedCpam, r.awaitedMutuelle,
                              r.toCheck, r.family};
    const qsizetype index = amountFields().indexOf(fieldName);
    return index >= 0 ? std::optional<qint64>(amounts[index]) : std::nullopt;
}
