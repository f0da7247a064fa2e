#pragma once

#include "AwaitedPayer.h"
#include "LedgerKey.h"
#include "PayerRecognition.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class SqliteDatabase;

// The statement lines already applied to the register, and the labels the person marked as a
// payer's, kept in TALO.DB (tables TALO_RELEVES and TALO_LIBELLES) so that backups carry them.
// A line is applied once: its bank identifier, or else its payer, date and amount and its rank
// among the equal lines of its file, find it again however often, and in whatever wording, a
// statement is imported. The applied lines are read from their date, amount and payer columns,
// so that lines kept by earlier versions (whose keys held the label) count the same way.
class StatementLedger
{
public:
    static const QString LinesTable;  // "TALO_RELEVES"
    static const QString LabelsTable; // "TALO_LIBELLES"
    // Each table's statement exactly as the file's schema (sqlite_master) keeps it.
    static QString createSql();
    static QString labelsCreateSql();

    StatementLedger() = default;
    // What the file holds; nothing yet when the tables are not there. Throws DatabaseError
    // when the file cannot be read.
    static StatementLedger read(const QString &taloDbPath);
    static StatementLedger read(SqliteDatabase &db);

    std::optional<QDateTime> appliedAt(const LedgerKey &key) const;
    const std::vector<LearnedLabel> &learnedLabels() const { return learned_; }

    // Writes, through a connection whose transaction the caller commits.
    static void ensureTables(SqliteDatabase &db);
    // Records a line applied, in the file and in this ledger; `payer` is the payment's, whether
    // the key knew it or not. The shares as (entry number, cents).
    void record(SqliteDatabase &db, const LedgerKey &key, AwaitedPayer payer,
                const std::vector<std::pair<qint64, qint64>> &shares, const QDateTime &at);
    // False when the label has nothing distinctive to recognise it by.
    static bool rememberLabel(SqliteDatabase &db, const QString &label, AwaitedPayer payer,
                              const QDateTime &at);

private:
    struct Applied {
        bool withBankId = false;
        QDateTime at;
    };
    static QString group(AwaitedPayer payer, const QDate &date, qint64 cents);
    void add(const QString &bankId, const QDate &date, qint64 cents, const QString &payer,
             const QDateTime &at);

    QHash<QString, QDateTime> byBankId_;
    QHash<QString, std::vector<Applied>> byGroup_; // payer, date and amount; in the file's order
    std::vector<LearnedLabel> learned_;
};
