#pragma once

#include "platform/report/ReportDataSource.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// Rows for report tests, held in memory: each row maps field names to the text the field
// displays and, for money fields, to its amount in cents.
class FakeReportSource : public ReportDataSource
{
public:
    struct Row {
        QHash<QString, QString> texts;
        QHash<QString, std::optional<qint64>> amounts;
    };

    void addRow(const QHash<QString, QString> &texts,
                const QHash<QString, std::optional<qint64>> &amounts = {})
    {
        rows_.append({texts, amounts});
    }

    // Leaves the cursor past the end, as a previous run would.
    void runToEnd()
    {
        for (first(); !eof(); next()) {
        }
    }

    int firstCalls() const { return firstCalls_; }
    qsizetype rowCount() const { return rows_.size(); }

    void first() override
    {
        ++firstCalls_;
        position_ = 0;
    }
    bool eof() const override { return position_ >= rows_.size(); }
    void next() override { ++position_; }
    void moveTo(int position) override { position_ = position; }
    QString displayText(const QString &fieldName) const override
    {
        return rows_.at(position_).texts.value(fieldName);
    }
    std::optional<qint64> cents(const QString &fieldName) const override
    {
        return rows_.at(position_).amounts.value(fieldName);
    }

private:
    QList<Row> rows_;
    qsizetype position_ = 0;
    int firstCalls_ = 0;
};
