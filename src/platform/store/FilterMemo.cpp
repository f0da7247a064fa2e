#include "FilterMemo.h"

#include <QDate>
#include <QHashFunctions>

#include <limits>

FilterMemo::FilterMemo(const RowStore &store, std::vector<int> fields, bool datesByYear)
    : store_(store), fields_(std::move(fields)), datesByYear_(datesByYear)
{
    Q_ASSERT(fields_.size() <= MaxFields);
    for (int f : fields_)
        kinds_.push_back(store_.kind(f));
}

size_t FilterMemo::KeyHash::operator()(const Key &key) const
{
    return qHashRange(key.begin(), key.end());
}

qint64 FilterMemo::yearOf(qint64 julianDay)
{
    // Rows come in date order often enough that the last year usually answers.
    if (julianDay < yearFirstDay_ || julianDay >= yearEndDay_) {
        const QDate date = QDate::fromJulianDay(julianDay);
        year_ = date.year();
        yearFirstDay_ = QDate(date.year(), 1, 1).toJulianDay();
        yearEndDay_ = QDate(date.year() + 1, 1, 1).toJulianDay();
        if (!date.isValid()) { // outside the calendar: keyed by the day itself, apart
            yearFirstDay_ = 1;
            yearEndDay_ = 0;
            return std::numeric_limits<qint64>::min();
        }
    }
    return year_;
}

FilterMemo::Key FilterMemo::keyOf(quint32 slot)
{
    Key key{};
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int f = fields_[i];
        if (!store_.has(slot, f))
            continue;
        key[0] |= qint64(1) << i;
        switch (kinds_[i]) {
        case FieldKind::String:
        case FieldKind::Memo:
            key[i + 1] = store_.textId(slot, f);
            break;
        case FieldKind::Date:
            key[i + 1] = store_.number(slot, f);
            if (datesByYear_) {
                const qint64 year = yearOf(key[i + 1]);
                if (year != std::numeric_limits<qint64>::min())
                    key[i + 1] = year;
                else
                    key[0] |= qint64(1) << (i + MaxFields);
            }
            break;
        default:
            key[i + 1] = store_.number(slot, f);
            break;
        }
    }
    return key;
}
