#pragma once

#include "platform/report/ReportDataSource.h"
#include "register/ReimbursementFollowUp.h"

// The follow-up's lines as the rows of its printed report.
class FollowUpReportSource : public ReportDataSource
{
public:
    // Field names of the report's detail band.
    static inline const QString Date = QStringLiteral("Date");
    static inline const QString Beneficiary = QStringLiteral("Beneficiaire");
    static inline const QString Doctor = QStringLiteral("Medecin");
    static inline const QString Cost = QStringLiteral("Cout");
    static inline const QString Cpam = QStringLiteral("CPAM");
    static inline const QString Mutual = QStringLiteral("Mutuelle");
    static inline const QString Awaited = QStringLiteral("Attendu");
    static inline const QString Payer = QStringLiteral("Payeur");
    static inline const QString Age = QStringLiteral("Age");

    // `followUp` must outlive the source.
    explicit FollowUpReportSource(const ReimbursementFollowUp &followUp) : followUp_(followUp) {}

    void first() override { row_ = 0; }
    bool eof() const override { return row_ >= followUp_.size(); }
    void next() override { ++row_; }
    QString displayText(const QString &fieldName) const override;
    std::optional<qint64> cents(const QString &fieldName) const override;

private:
    const ReimbursementFollowUp &followUp_;
    size_t row_ = 0;
};
