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
        rows_ << Printed{row, false, QString()};
    rows_ << Printed{summary.total(), false, QString()};
    rows_ << heading(QStringLiteral("Par spécialité"));
    for (const YearSummary::Row &row : summary.bySpeciality())
        rows_ << Printed{row, false, QString()};
    rows_ << Printed{summary.total(), false, QString()};
    rows_ << heading(QStringLiteral("Franchises et participations"));
    const auto withheld = [](const QString &name, const QString &participations,
                             const QString &franchises) {
        Printed printed;
        printed.row.name = name;
        printed.withheld =
            QStringLiteral("Participations : %1   Franchises : %2").arg(participations, franchises);
        return printed;
    };
    for (const YearSummary::Withheld &w : summary.withheld())
        rows_ << withheld(w.personAndYear(), YearSummary::Withheld::ofCap(w.participations),
                          YearSummary::Withheld::ofCap(w.franchises));
    rows_ << withheld(summary.total().name, Formats::money(summary.total().participations),
                      Formats::money(summary.total().franchises));
}

QString YearSummaryReportSource::displayText(const QString &fieldName) const
{
    const Printed &printed = rows_.at(row_);
    if (fieldName == Name)
        return printed.row.name;
    if (fieldName == Withheld)
        return printed.withheld;
    if (printed.heading || !printed.withheld.isEmpty())
        return QString();
    if (fieldName == Count)
        return QString::number(printed.row.count);
    const std::optional<qint64> amount = cents(fieldName);
    return amount ? Formats::money(*amount) : QString();
}

std::optional<qint64> YearSummaryReportSource::cents(const QString &fieldName) const
{
    const Printed &printed = rows_.at(row_);
    if (printed.heading || !printed.withheld.isEmpty())
        return std::nullopt;
    const YearSummary::Row &r = printed.row;
    const qint64 amounts[] = {r.cost,    r.cpam,  r.mutual, r.awaitedCpam, r.awaitedMutuelle,
                              r.toCheck, r.family};
    const qsizetype index = amountFields().indexOf(fieldName);
    return index >= 0 ? std::optional<qint64>(amounts[index]) : std::nullopt;
}
