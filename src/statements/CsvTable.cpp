#include "CsvTable.h"

#include "StatementError.h"
#include "StatementMessages.h"
#include "StatementText.h"

#include <map>

bool CsvRow::isBlank() const
{
    for (const QString &c : cells) {
        if (!c.isEmpty())
            return false;
    }
    return true;
}

namespace
{
// Lines the separator is judged on: a bank's preamble is a few lines, the table comes soon.
constexpr int sampleLines = 60;

// The number of fields of each of the first lines when split on `separator`, quotes honoured.
std::vector<int> fieldCounts(const QString &text, QChar separator)
{
    std::vector<int> counts;
    bool quoted = false;
    int fields = 1;
    for (qsizetype i = 0; i < text.size() && int(counts.size()) < sampleLines; ++i) {
        const QChar c = text.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == separator)
            ++fields;
        else if (!quoted && c == u'\n') {
            counts.push_back(fields);
            fields = 1;
        }
    }
    counts.push_back(fields);
    return counts;
}

// How many sampled lines have the most common number of fields above one.
int score(const QString &text, QChar separator)
{
    std::map<int, int> frequency;
    for (int n : fieldCounts(text, separator)) {
        if (n > 1)
            ++frequency[n];
    }
    int best = 0;
    for (const auto &[fields, lines] : frequency)
        best = std::max(best, lines);
    return best;
}
} // namespace

QChar CsvTable::detectSeparator(const QString &text)
{
    // In order of preference when they tie: a ";" file often has decimal commas too.
    QChar chosen;
    int best = 0;
    for (QChar candidate : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        const int s = score(text, candidate);
        if (s > best) {
            best = s;
            chosen = candidate;
        }
    }
    return chosen;
}

CsvTable CsvTable::parse(const QString &text)
{
    if (const int line = StatementText::firstLineNotText(text))
        throw StatementError(line, StatementMessages::notText());
    const QChar separator = detectSeparator(text);
    if (separator.isNull())
        throw StatementError(1, StatementMessages::noColumns());
    return parse(text, separator);
}

CsvTable CsvTable::parse(const QString &text, QChar separator)
{
    if (const int line = StatementText::firstLineNotText(text))
        throw StatementError(line, StatementMessages::notText());
    CsvTable table;
    table.separator_ = separator;

    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QChar(0x1A))
        --end;

    int line = 1;
    CsvRow row{1, {}};
    QString field;
    bool quoted = false;   // inside a quoted field
    int quoteOpenedAt = 0; // line of the quote being read
    bool fieldStarted = false;
    auto endField = [&] {
        row.cells.append(field.trimmed());
        field.clear();
        fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        table.rows_.push_back(std::move(row));
        row = CsvRow{line, {}};
    };
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < end && text.at(i + 1) == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c != u'\r')
                    field.append(c);
            }
            continue;
        }
        if (c == u'"' && !fieldStarted && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            fieldStarted = true;
            quoteOpenedAt = line;
        } else if (c == separator) {
            endField();
        } else if (c == u'\n') {
            ++line;
            endRow();
        } else if (c == u'\r') {
            if (i + 1 >= end || text.at(i + 1) != u'\n') {
                ++line;
                endRow();
            }
        } else {
            field.append(c);
            if (!c.isSpace())
                fieldStarted = true;
        }
    }
    if (quoted)
        throw StatementError(quoteOpenedAt, StatementMessages::unclosedQuote());
    if (!field.isEmpty() || !row.cells.isEmpty())
        endRow();

    std::map<int, int> widths;
    for (const CsvRow &r : table.rows_) {
        if (r.cells.size() > 1)
            ++widths[int(r.cells.size())];
    }
    int best = 0;
    for (const auto &[width, count] : widths) {
        if (count > best) {
            best = count;
            table.columnCount_ = width;
        }
    }
    return table;
}

const CsvRow *CsvTable::rowAt(int line) const
{
    for (const CsvRow &r : rows_) {
        if (r.line == line)
            return &r;
        if (r.line > line)
            break;
    }
    return nullptr;
}
