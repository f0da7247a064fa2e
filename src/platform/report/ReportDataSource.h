#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The rows a report prints, read one at a time in the order they should appear. The report
// engine knows nothing of tables: the table store plugs in through an adapter.
class ReportDataSource
{
public:
    virtual ~ReportDataSource() = default;
    // Restart at the first row (every run restarts).
    virtual void first() = 0;
    // Past the last row (true at once when empty).
    virtual bool eof() const = 0;
    virtual void next() = 0;
    // The current row's value of a field as the field displays it (dates "dd/mm/yy", money in
    // the regional currency format, empty text for an empty value).
    virtual QString displayText(const QString &fieldName) const = 0;
    // The current row's money value in cents for running sums; nullopt when empty (counts 0).
    virtual std::optional<qint64> cents(const QString &fieldName) const = 0;

    // A layout reads hundreds of thousands of cells: it names each field once and then reads
    // it by the number it got. By default the number stands for the name.
    virtual int fieldHandle(const QString &fieldName);
    virtual QString displayTextAt(int handle) const;
    virtual std::optional<qint64> centsAt(int handle) const;

    // Goes to the row at `position` (0 for the first) of a run started by first(), so that a
    // page can be laid out on its own; past the last row, eof() holds. By default walks there.
    virtual void moveTo(int position);

private:
    QStringList handleNames_;
};
