#include "TableReportSource.h"

#include "platform/store/Table.h"

TableReportSource::TableReportSource(Table &table) : table_(table) {}

void TableReportSource::first()
{
    table_.first();
}

bool TableReportSource::eof() const
{
    return table_.eof();
}

void TableReportSource::next()
{
    table_.next();
}

QString TableReportSource::displayText(const QString &fieldName) const
{
    return table_.fieldByName(fieldName).displayText();
}

std::optional<qint64> TableReportSource::cents(const QString &fieldName) const
{
    const Field &field = table_.fieldByName(fieldName);
    if (field.isNull())
        return std::nullopt;
    return field.asCents();
}
