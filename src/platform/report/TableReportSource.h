#pragma once

#include "ReportDataSource.h"

class Table;

// A report's rows read from a table component: its rows in view (the filter applies), in its
// index order, each value shown as the field displays it.
class TableReportSource : public ReportDataSource
{
public:
    // The table must outlive the source.
    explicit TableReportSource(Table &table);

    void first() override;
    bool eof() const override;
    void next() override;
    // Unknown field names throw DatabaseError with the platform's French message.
    QString displayText(const QString &fieldName) const override;
    std::optional<qint64> cents(const QString &fieldName) const override;

private:
    Table &table_;
};
