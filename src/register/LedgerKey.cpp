#include "LedgerKey.h"

#include "LabelWords.h"
#include "PayerRecognition.h"

#include <QHash>

#include <functional>

namespace
{

std::vector<LedgerKey>
keysOf(const std::vector<StatementLine> &lines,
       const std::function<std::optional<AwaitedPayer>(const StatementLine &)> &payerOf)
{
    std::vector<LedgerKey> keys;
    keys.reserve(lines.size());
    QHash<QString, int> seen;
    for (const StatementLine &line : lines) {
        LedgerKey key;
        key.bankId = line.bankId.trimmed();
        key.payer = payerOf(line);
        key.date = line.date;
        key.cents = line.cents;
        key.label = LabelWords::comparable(line.label);
        const QString group = QStringLiteral("%1|%2|%3")
                                  .arg(key.payer ? int(*key.payer) : -1)
                                  .arg(line.date.toJulianDay())
                                  .arg(line.cents);
        key.occurrence = ++seen[group];
        keys.push_back(key);
    }
    return keys;
}

} // namespace

QString LedgerKey::lineText() const
{
    return QStringLiteral("LIGNE:%1|%2|%3|%4")
        .arg(date.toString(Qt::ISODate))
        .arg(cents)
        .arg(label)
        .arg(occurrence);
}

std::vector<LedgerKey> LedgerKey::of(const std::vector<StatementLine> &lines)
{
    return keysOf(lines, [](const StatementLine &) { return std::optional<AwaitedPayer>(); });
}

std::vector<LedgerKey> LedgerKey::of(const std::vector<StatementLine> &lines,
                                     const PayerRecognition &payers)
{
    return keysOf(lines,
                  [&payers](const StatementLine &line) { return payers.payerOf(line.label); });
}
