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
// A line is applied once: its bank identifier, or its date, amount, label and rank when
// either import lacks the identifier, finds it again however often a statement is imported.
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

    std::optional<QDateTime> appliedAt(const LedgerKey &key) const;
    const std::vector<LearnedLabel> &learnedLabels() const { return learned_; }

    // Writes, through a connection whose transaction the caller commits.
    static void ensureTables(SqliteDatabase &db);
    static bool isApplied(SqliteDatabase &db, const LedgerKey &key);
    // The shares as (entry number, cents).
    static void record(SqliteDatabase &db, const LedgerKey &key, AwaitedPayer payer,
                       const std::vector<std::pair<qint64, qint64>> &shares, const QDateTime &at);
    // False when the label has nothing distinctive to recognise it by.
    static bool rememberLabel(SqliteDatabase &db, const QString &label, AwaitedPayer payer,
                              const QDateTime &at);

private:
    QHash<QString, QDateTime> byKey_;
    struct Applied {
        bool withBankId = false;
        QDateTime at;
    };
    QHash<QString, Applied> byLine_;
    std::vector<LearnedLabel> learned_;
};
