#include "LedgerKey.h"

#include "LabelWords.h"

#include <QHash>

QString LedgerKey::lineText() const
{
    return QStringLiteral("LIGNE:%1|%2|%3|%4")
        .arg(date.toString(Qt::ISODate))
        .arg(cents)
        .arg(label)
        .arg(occurrence);
}

QString LedgerKey::text() const
{
    return bankId.isEmpty() ? lineText() : QStringLiteral("FITID:") + bankId;
}

std::vector<LedgerKey> LedgerKey::of(const std::vector<StatementLine> &lines)
{
    std::vector<LedgerKey> keys;
    keys.reserve(lines.size());
    QHash<QString, int> seen;
    for (const StatementLine &line : lines) {
        LedgerKey key;
        key.bankId = line.bankId.trimmed();
        key.date = line.date;
        key.cents = line.cents;
        key.label = LabelWords::comparable(line.label);
        key.occurrence = ++seen[key.lineText()];
        keys.push_back(key);
    }
    return keys;
}
