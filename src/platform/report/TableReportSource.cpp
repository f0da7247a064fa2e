#include "TableReportSource.h"

#include "platform/store/Table.h"

TableReportSource::TableReportSource(Table &table) : table_(table) {}

void TableReportSource::first()
{
    pastEnd_ = false;
    table_.first();
}

bool TableReportSource::eof() const
{
    return pastEnd_ || table_.eof();
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

int TableReportSource::fieldHandle(const QString &fieldName)
{
    const qsizetype known = names_.indexOf(fieldName);
    if (known >= 0)
        return int(known);
    fields_.push_back(table_.findField(fieldName));
    names_.append(fieldName);
    return int(names_.size() - 1);
}

Field &TableReportSource::fieldAt(int handle) const
{
    Field *field = fields_[size_t(handle)];
    return field ? *field : table_.fieldByName(names_.at(handle));
}

QString TableReportSource::displayTextAt(int handle) const
{
    return fieldAt(handle).displayText();
}

std::optional<qint64> TableReportSource::centsAt(int handle) const
{
    const Field &field = fieldAt(handle);
    if (field.isNull())
        return std::nullopt;
    return field.asCents();
}

void TableReportSource::moveTo(int position)
{
    // The table would stay on its last row: past it, this source says it has ended.
    pastEnd_ = position >= table_.recordCount();
    if (pastEnd_)
        return;
    // Off the ends the table still stands on its first or last row, where a move to that row
    // would change nothing.
    if (table_.eof() || table_.bof())
        table_.first();
    table_.moveToRow(position);
}
