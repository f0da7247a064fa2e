#pragma once

#include "platform/report/ReportDataSource.h"
#include "register/YearSummary.h"

#include <QList>

// The year summary's rows for its printed report: the beneficiaries and their total, then a
// heading and the specialities with theirs, then a heading and what the C.P.A.M. withheld per
// person and year against the yearly caps, as a line of text.
class YearSummaryReportSource : public ReportDataSource
{
public:
    static inline const QString Name = QStringLiteral("Nom");
    static inline const QString Count = QStringLiteral("Soins");
    static inline const QString Withheld = QStringLiteral("Retenues");
    // Money columns, in the table's order.
    static const QStringList &amountFields();

    explicit YearSummaryReportSource(const YearSummary &summary);

    void first() override { row_ = 0; }
    bool eof() const override { return row_ >= rows_.size(); }
    void next() override { ++row_; }
    QString displayText(const QString &fieldName) const override;
    std::optional<qint64> cents(const QString &fieldName) const override;

private:
    struct Printed {
        YearSummary::Row row;
        bool heading = false; // a caption alone, no figures
        QString withheld;     // a line of withholdings: no figures in the columns
    };
    QList<Printed> rows_;
    qsizetype row_ = 0;
};
