#pragma once

#include "platform/report/ReportDataSource.h"
#include "register/YearSummary.h"

#include <QList>

// The year summary's rows for its printed report: the beneficiaries and their total, then a
// heading and the specialities with theirs.
class YearSummaryReportSource : public ReportDataSource
{
public:
    static inline const QString Name = QStringLiteral("Nom");
    static inline const QString Count = QStringLiteral("Soins");
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
    };
    QList<Printed> rows_;
    qsizetype row_ = 0;
};
