#include "CsvColumnRecognition.h"

#include "CsvValues.h"

#include <QRegularExpression>

namespace CsvColumnRecognition
{

namespace
{
// How strongly a title names each role; 0 when it does not. The best column of each role wins,
// the leftmost on a tie.
int dateRank(const QString &t)
{
    if (!t.startsWith(u"date"))
        return 0;
    if (t == u"date" || t == u"date operation" || t == u"date de l operation" ||
        t == u"date comptable" || t == u"date de comptabilisation")
        return 4;
    if (t.startsWith(u"date op") || t.startsWith(u"date compta"))
        return 3;
    // The value date only when the file gives no other.
    return t.contains(u"valeur") ? 1 : 2;
}

int labelRank(const QString &t)
{
    if (t == u"libelle" || t == u"libelle operation" || t == u"libelle de l operation")
        return 4;
    if (t.startsWith(u"libelle"))
        return 3;
    if (t == u"description" || t == u"intitule" || t.startsWith(u"nature"))
        return 2;
    if (t.startsWith(u"detail") || t == u"operation" || t == u"operations")
        return 1;
    return 0;
}

bool isAmount(const QString &t)
{
    return t.startsWith(u"montant") || t == u"somme" || t == u"valeur";
}
} // namespace

QString normalised(const QString &title)
{
    static const QRegularExpression notWord(QStringLiteral("[^a-z0-9]+"));
    QString plain;
    for (QChar c : title.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain.append(c.toLower());
    }
    return plain.replace(notWord, QStringLiteral(" ")).trimmed();
}

CsvColumnChoice fromTitles(const CsvRow &titles)
{
    CsvColumnChoice choice;
    choice.headerLine = titles.line;
    int bestDate = 0;
    int bestLabel = 0;
    for (int i = 0; i < titles.cells.size(); ++i) {
        const QString t = normalised(titles.cells.at(i));
        if (t.isEmpty())
            continue;
        if (const int rank = dateRank(t); rank > 0) {
            if (rank > bestDate) {
                bestDate = rank;
                choice.date = i;
            }
        } else if (const int rank = labelRank(t); rank > bestLabel) {
            bestLabel = rank;
            choice.label = i;
        } else if (isAmount(t) && choice.amount < 0) {
            choice.amount = i;
        } else if (t.startsWith(u"debit") && choice.debit < 0) {
            choice.debit = i;
        } else if (t.startsWith(u"credit") && choice.credit < 0) {
            choice.credit = i;
        }
    }
    if (choice.amount >= 0) {
        choice.debit = -1;
        choice.credit = -1;
    }
    return choice;
}

bool hasOperations(const CsvTable &table)
{
    for (const CsvRow &row : table.rows()) {
        bool date = false;
        bool amount = false;
        for (const QString &cell : row.cells) {
            if (CsvValues::date(cell))
                date = true;
            else if (!cell.isEmpty() && CsvValues::amount(cell))
                amount = true;
        }
        if (date && amount)
            return true;
    }
    return false;
}

std::optional<CsvColumnChoice> recognise(const CsvTable &table)
{
    int seen = 0;
    for (const CsvRow &row : table.rows()) {
        if (row.isBlank())
            continue;
        if (++seen > titleSearchLines)
            break;
        CsvColumnChoice choice = fromTitles(row);
        if (choice.isComplete()) {
            // The rows start after the titles (a title spread over two lines is not met).
            choice.firstDataLine = row.line + 1;
            for (const CsvRow &next : table.rows()) {
                if (next.line > row.line) {
                    choice.firstDataLine = next.line;
                    break;
                }
            }
            return choice;
        }
    }
    return std::nullopt;
}

} // namespace CsvColumnRecognition
