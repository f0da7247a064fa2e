#pragma once

#include "ReportDataSource.h"

#include <vector>

class Field;
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

    // Handles stand for the table's fields themselves; an unknown name still throws when read.
    int fieldHandle(const QString &fieldName) override;
    QString displayTextAt(int handle) const override;
    std::optional<qint64> centsAt(int handle) const override;
    void moveTo(int position) override;

private:
    Field &fieldAt(int handle) const;

    Table &table_;
    std::vector<Field *> fields_;
    QStringList names_;    // of the handles, for the message of an unknown one
    bool pastEnd_ = false; // moved past the last row
};
