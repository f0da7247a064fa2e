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

StatementLedger StatementLedger::read(const QString &taloDbPath)
{
    StatementLedger ledger;
    SqliteDatabase db(taloDbPath, SqliteDatabase::Mode::OpenExisting);
    if (db.hasTable(LinesTable)) {
        SqliteStatement st(db.handle(),
                           QStringLiteral("SELECT \"Cle\", \"Ligne\", \"Identifiant banque\", "
                                          "\"Applique le\" FROM \"TALO_RELEVES\""));
        while (st.step()) {
            const QDateTime at = QDateTime::fromString(st.text(3), Qt::ISODate);
            ledger.byKey_.insert(st.text(0), at);
            ledger.byLine_.insert(st.text(1), {!st.text(2).isEmpty(), at});
        }
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
        const auto found = byKey_.constFind(key.text());
        if (found != byKey_.constEnd())
            return *found;
    }
    // Two identifiers that differ are two transactions; without one, the line decides.
    const auto line = byLine_.constFind(key.lineText());
    if (line != byLine_.constEnd() && (key.bankId.isEmpty() || !line->withBankId))
        return line->at;
    return std::nullopt;
}

void StatementLedger::ensureTables(SqliteDatabase &db)
{
    // The statements as the file's schema keeps them, run only for tables not there yet.
    const QString create = QStringLiteral("CREATE TABLE ");
    for (const QString &sql : {createSql(), labelsCreateSql()})
        db.exec(QString(sql).replace(0, create.size(), create + QStringLiteral("IF NOT EXISTS ")));
}

bool StatementLedger::isApplied(SqliteDatabase &db, const LedgerKey &key)
{
    SqliteStatement st(db.handle(),
                       QStringLiteral("SELECT 1 FROM \"TALO_RELEVES\" WHERE \"Cle\" = ?1 OR "
                                      "(\"Ligne\" = ?2 AND (?3 = '' OR \"Identifiant banque\" = "
                                      "''))"));
    st.bindText(1, key.text());
    st.bindText(2, key.lineText());
    st.bindText(3, key.bankId);
    return st.step();
}

void StatementLedger::record(SqliteDatabase &db, const LedgerKey &key, AwaitedPayer payer,
                             const std::vector<std::pair<qint64, qint64>> &shares,
                             const QDateTime &at)
{
    QStringList paid;
    for (const auto &[row, cents] : shares)
        paid.append(QStringLiteral("%1:%2").arg(row).arg(cents));
    SqliteStatement st(db.handle(),
                       QStringLiteral("INSERT INTO \"TALO_RELEVES\" VALUES (?1, ?2, ?3, ?4, ?5, "
                                      "?6, ?7, ?8, ?9)"));
    st.bindText(1, key.text());
    st.bindText(2, key.lineText());
    st.bindText(3, key.bankId);
    st.bindText(4, key.date.toString(Qt::ISODate));
    st.bindInt(5, key.cents);
    st.bindText(6, key.label);
    st.bindText(7, AwaitedPayers::text(payer));
    st.bindText(8, paid.join(QLatin1Char(';')));
    st.bindText(9, at.toString(Qt::ISODate));
    st.step();
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
