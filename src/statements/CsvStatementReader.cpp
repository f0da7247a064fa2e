#include "CsvStatementReader.h"

#include "CsvValues.h"
#include "StatementError.h"
#include "StatementMessages.h"

namespace CsvStatementReader
{

namespace
{
qint64 amountOf(const CsvRow &row, int column)
{
    const QString text = row.cell(column);
    if (text.isEmpty())
        throw StatementError(row.line, StatementMessages::missingAmount());
    const auto cents = CsvValues::amount(text);
    if (!cents)
        throw StatementError(row.line, StatementMessages::badAmount(text));
    return *cents;
}

// A debit or credit cell: its cents without their sign, 0 when empty.
qint64 sideOf(const CsvRow &row, int column)
{
    const QString text = row.cell(column);
    if (text.isEmpty())
        return 0;
    const auto cents = CsvValues::amount(text);
    if (!cents)
        throw StatementError(row.line, StatementMessages::badAmount(text));
    return *cents < 0 ? -*cents : *cents;
}

StatementLine lineOf(const CsvRow &row, const CsvColumnChoice &choice)
{
    if (row.cells.size() < choice.width())
        throw StatementError(
            row.line, StatementMessages::missingCells(int(row.cells.size()), choice.width()));
    StatementLine line;
    line.sourceLine = row.line;
    const QString dateText = row.cell(choice.date);
    const auto date = CsvValues::date(dateText);
    if (!date)
        throw StatementError(row.line, StatementMessages::badDate(dateText));
    line.date = *date;
    line.label = row.cell(choice.label).simplified();
    if (choice.usesAmount()) {
        line.cents = amountOf(row, choice.amount);
    } else {
        const qint64 debit = sideOf(row, choice.debit);
        const qint64 credit = sideOf(row, choice.credit);
        if (debit != 0 && credit != 0)
            throw StatementError(row.line, StatementMessages::debitAndCredit());
        if (row.cell(choice.debit).isEmpty() && row.cell(choice.credit).isEmpty())
            throw StatementError(row.line, StatementMessages::missingAmount());
        line.cents = credit - debit;
    }
    return line;
}

bool isOperation(const CsvRow &row, const CsvColumnChoice &choice)
{
    const QString date = row.cell(choice.date);
    return !date.isEmpty() && date.at(0).isDigit();
}
} // namespace

std::vector<StatementLine> read(const CsvTable &table, const CsvColumnChoice &choice)
{
    const int startLine = std::max(choice.firstDataLine, choice.headerLine + 1);
    qsizetype widest = 0;
    for (const CsvRow &row : table.rows())
        widest = std::max(widest, row.cells.size());
    if (!choice.isComplete() || choice.width() > widest)
        throw StatementError(startLine, StatementMessages::columnsOutOfRange());
    std::vector<StatementLine> lines;
    int pendingWithoutDate = 0; // a non-blank line without a date since the last operation
    for (const CsvRow &row : table.rows()) {
        if (row.line < startLine || row.isBlank())
            continue;
        if (!isOperation(row, choice)) {
            if (pendingWithoutDate == 0)
                pendingWithoutDate = row.line;
            continue;
        }
        if (pendingWithoutDate != 0 && !lines.empty())
            throw StatementError(pendingWithoutDate, StatementMessages::noDate());
        pendingWithoutDate = 0;
        lines.push_back(lineOf(row, choice));
    }
    if (lines.empty())
        throw StatementError(choice.headerLine > 0 ? choice.headerLine : startLine,
                             StatementMessages::noTransactions());
    return lines;
}

} // namespace CsvStatementReader
