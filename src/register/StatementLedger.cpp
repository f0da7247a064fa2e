#include "StatementLedger.h"

#include "LabelWords.h"

#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"
#include "tables/StatementLedgerSchema.h"

const QString StatementLedger::LinesTable = StatementLedgerSchema::LinesTable;
const QString StatementLedger::LabelsTable = StatementLedgerSchema::LabelsTable;

QString StatementLedger::createSql()
{
    return StatementLedgerSchema::linesCreateSql();
}

QString StatementLedger::labelsCreateSql()
{
    return StatementLedgerSchema::labelsCreateSql();
}

namespace
{

std::optional<AwaitedPayer> payerNamed(const QString &text)
{
    for (AwaitedPayer payer : {AwaitedPayer::Cpam, AwaitedPayer::Mutuelle}) {
        if (AwaitedPayers::text(payer) == text)
            return payer;
    }
    return std::nullopt;
}

} // namespace

QString StatementLedger::group(AwaitedPayer payer, const QDate &date, qint64 cents)
{
    return QStringLiteral("%1|%2|%3").arg(int(payer)).arg(date.toJulianDay()).arg(cents);
}

void StatementLedger::add(const QString &bankId, const QDate &date, qint64 cents,
                          const QString &payer, const QDateTime &at)
{
    if (!bankId.isEmpty())
        byBankId_.insert(bankId, at);
    // A line whose payer or date cannot be read counts only by its identifier.
    const std::optional<AwaitedPayer> who = payerNamed(payer);
    if (who && date.isValid())
        byGroup_[group(*who, date, cents)].push_back({!bankId.isEmpty(), at});
}

StatementLedger StatementLedger::read(const QString &taloDbPath)
{
    SqliteDatabase db(taloDbPath, SqliteDatabase::Mode::OpenExisting);
    return read(db);
}

StatementLedger StatementLedger::read(SqliteDatabase &db)
{
    StatementLedger ledger;
    if (db.hasTable(LinesTable)) {
        SqliteStatement st(db.handle(), QStringLiteral("SELECT \"Identifiant banque\", \"Date\", "
                                                       "\"Centimes\", \"Payeur\", \"Applique "
                                                       "le\" FROM \"TALO_RELEVES\""));
        while (st.step())
            ledger.add(st.text(0), QDate::fromString(st.text(1), Qt::ISODate), st.int64(2),
                       st.text(3), QDateTime::fromString(st.text(4), Qt::ISODate));
    }
    if (db.hasTable(LabelsTable)) {
        SqliteStatement st(db.handle(),
                           QStringLiteral("SELECT \"Mots\", \"Payeur\" FROM \"TALO_LIBELLES\""));
        while (st.step()) {
            const auto payer = payerNamed(st.text(1));
            const QStringList words = st.text(0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (payer && !words.isEmpty())
                ledger.learned_.push_back({words, *payer});
        }
    }
    return ledger;
}

std::optional<QDateTime> StatementLedger::appliedAt(const LedgerKey &key) const
{
    if (!key.bankId.isEmpty()) {
        const auto found = byBankId_.constFind(key.bankId);
        if (found != byBankId_.constEnd())
            return *found;
    }
    // The key's rank among its file's equal lines against the lines applied alike: the n-th
    // equal line is applied when n of them were. Without the payer, both payers' lines count,
    // as the rank then counts both. Two identifiers that differ are two transactions, so a
    // line with one is matched only against lines applied without.
    int alike = 0;
    for (AwaitedPayer payer : {AwaitedPayer::Cpam, AwaitedPayer::Mutuelle}) {
        if (key.payer && *key.payer != payer)
            continue;
        const auto group = byGroup_.constFind(StatementLedger::group(payer, key.date, key.cents));
        if (group == byGroup_.constEnd())
            continue;
        for (const Applied &a : *group) {
            if ((key.bankId.isEmpty() || !a.withBankId) && ++alike == key.occurrence)
                return a.at;
        }
    }
    return std::nullopt;
}

void StatementLedger::ensureTables(SqliteDatabase &db)
{
    // The statements as the file's schema keeps them, run only for tables not there yet.
    const QString create = QStringLiteral("CREATE TABLE ");
    for (const QString &sql : {createSql(), labelsCreateSql()})
        db.exec(QString(sql).replace(0, create.size(), create + QStringLiteral("IF NOT EXISTS ")));
}

void StatementLedger::record(SqliteDatabase &db, const LedgerKey &key, AwaitedPayer payer,
                             const std::vector<std::pair<qint64, qint64>> &shares,
                             const QDateTime &at)
{
    // Without an identifier, the n-th line of that payer, day and amount applied: the counts
    // only grow, so the key is new.
    const QString unique =
        key.bankId.isEmpty()
            ? QStringLiteral("PAIEMENT:%1|%2|%3|%4")
                  .arg(AwaitedPayers::text(payer), key.date.toString(Qt::ISODate))
                  .arg(key.cents)
                  .arg(byGroup_.value(group(payer, key.date, key.cents)).size() + 1)
            : QStringLiteral("FITID:") + key.bankId;
    QStringList paid;
    for (const auto &[row, cents] : shares)
        paid.append(QStringLiteral("%1:%2").arg(row).arg(cents));
    SqliteStatement st(db.handle(),
                       QStringLiteral("INSERT INTO \"TALO_RELEVES\" VALUES (?1, ?2, ?3, ?4, ?5, "
                                      "?6, ?7, ?8, ?9)"));
    st.bindText(1, unique);
    st.bindText(2, key.lineText());
    st.bindText(3, key.bankId);
    st.bindText(4, key.date.toString(Qt::ISODate));
    st.bindInt(5, key.cents);
    st.bindText(6, key.label);
    st.bindText(7, AwaitedPayers::text(payer));
    st.bindText(8, paid.join(QLatin1Char(';')));
    st.bindText(9, at.toString(Qt::ISODate));
    st.step();
    add(key.bankId, key.date, key.cents, AwaitedPayers::text(payer), at);
}

bool StatementLedger::rememberLabel(SqliteDatabase &db, const QString &label, AwaitedPayer payer,
                                    const QDateTime &at)
{
    const QStringList words = LabelWords::distinctive(label);
    if (words.isEmpty())
        return false;
    SqliteStatement st(db.handle(), QStringLiteral("INSERT OR REPLACE INTO \"TALO_LIBELLES\" "
                                                   "VALUES (?1, ?2, ?3)"));
    st.bindText(1, words.join(QLatin1Char(' ')));
    st.bindText(2, AwaitedPayers::text(payer));
    st.bindText(3, at.toString(Qt::ISODate));
    st.step();
    return true;
}
