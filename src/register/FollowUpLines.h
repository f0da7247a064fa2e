#pragma once

#include "AwaitedPayer.h"
#include "CareFacts.h"

#include "platform/store/Bookmark.h"
#include "platform/store/TextPool.h"

#include <QDate>
#include <QString>

#include <vector>

class Table;

// The entries whose reimbursement is still awaited (awaited amount not zero), the oldest care
// first, packed: a lifetime register can await something on most of its entries, so a line
// keeps its row identity, date and amounts in 40 bytes and names its beneficiary and doctor by
// number in a list of the distinct texts. Everything else of the entry stays in the table.
class FollowUpLines
{
public:
    struct Line {
        Bookmark row;
        QDate date;
        QString beneficiary, doctor;
        qint64 cost = 0, cpam = 0, mutual = 0, awaited = 0;
        AwaitedPayer payer = AwaitedPayer::Cpam;
    };

    explicit FollowUpLines(const std::vector<CareFacts> &entries);
    // The entries in the table's view, read without moving its cursor: no entry is copied
    // whole, the awaited amount is worked out as each row is read.
    static FollowUpLines readView(Table &table);

    size_t size() const { return lines_.size(); }
    Line at(size_t i) const;
    qint64 rowId(size_t i) const { return lines_[i].rowId; }
    AwaitedPayer payer(size_t i) const { return AwaitedPayer(lines_[i].payer); }
    qint64 awaited(size_t i) const;
    QDate date(size_t i) const;

private:
    FollowUpLines() = default;
    void add(qint64 rowId, const QDate &date, const QString &beneficiary, const QString &doctor,
             qint64 cost, qint64 cpam, qint64 mutual, qint64 awaited, AwaitedPayer payer);
    // Sorts by date (stable: the view's order among equal dates) and gives back the room
    // reserved for lines that did not come.
    void finish();

    // A value that does not fit 32 bits sends the whole line's values to `wide_`; `cost` then
    // holds the number of its entry there.
    struct Packed {
        qint64 rowId;
        qint32 cost, cpam, mutual, awaited, day;
        quint32 beneficiary, doctor;
        quint8 payer;
        bool wide;
    };
    struct Wide {
        qint64 cost, cpam, mutual, awaited, day;
    };
    Wide values(const Packed &line) const;
    qint64 day(const Packed &line) const
    {
        return line.wide ? wide_[quint32(line.cost)].day : line.day;
    }

    std::vector<Packed> lines_;
    std::vector<Wide> wide_;
    TextPool texts_; // the beneficiaries' and doctors' names
};
