#include "FilterMemo.h"

#include <QDate>

#include <limits>

FilterMemo::FilterMemo(const RowStore &store, const std::vector<int> &fields, bool datesByYear)
    : store_(store), bitsPerField_(fields.empty() ? 64 : 64 / int(fields.size())),
      datesByYear_(datesByYear), entries_(64)
{
    Q_ASSERT(fields.size() <= MaxFields);
    for (int f : fields) {
        Coder coder;
        coder.field = f;
        coder.kind = store_.kind(f);
        coders_.push_back(std::move(coder));
    }
}

qint64 FilterMemo::yearOf(qint64 julianDay)
{
    // Rows come in date order often enough that the last year usually answers.
    if (julianDay < yearFirstDay_ || julianDay >= yearEndDay_) {
        const QDate date = QDate::fromJulianDay(julianDay);
        if (!date.isValid())
            return std::numeric_limits<qint64>::min();
        year_ = date.year();
        yearFirstDay_ = QDate(date.year(), 1, 1).toJulianDay();
        yearEndDay_ = QDate(date.year() + 1, 1, 1).toJulianDay();
    }
    return year_;
}

quint32 FilterMemo::codeOf(Coder &coder, quint32 slot)
{
    if (!store_.has(slot, coder.field))
        return 0;
    if (coder.kind == FieldKind::String || coder.kind == FieldKind::Memo)
        return store_.textId(slot, coder.field) + 1;
    qint64 value = store_.number(slot, coder.field);
    if (coder.kind == FieldKind::Date && datesByYear_) {
        const qint64 year = yearOf(value);
        // A day outside the calendar keeps its own code: it has no year to share.
        value = year != std::numeric_limits<qint64>::min() ? year : value;
    }
    if (coder.lastCode != 0 && value == coder.lastValue)
        return coder.lastCode;
    const auto [it, added] = coder.codes.try_emplace(value, quint32(coder.codes.size() + 1));
    coder.lastValue = value;
    coder.lastCode = it->second;
    return it->second;
}

quint64 FilterMemo::keyOf(quint32 slot)
{
    quint64 key = 0;
    for (Coder &coder : coders_) {
        const quint64 code = codeOf(coder, slot);
        if (bitsPerField_ < 64 && code >> bitsPerField_)
            return Unkeyed;
        key = bitsPerField_ < 64 ? (key << bitsPerField_) | code : code;
    }
    return key == Unkeyed ? key - 1 : key; // never the marker; unreachable with few values
}

size_t FilterMemo::find(quint64 key) const
{
    const size_t mask = entries_.size() - 1;
    size_t at = size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
    while (entries_[at].state != Empty && entries_[at].key != key)
        at = (at + 1) & mask;
    return at;
}

size_t FilterMemo::insert(quint64 key, bool verdict)
{
    if ((used_ + 1) * 2 > entries_.size()) {
        std::vector<Entry> old(entries_.size() * 2);
        old.swap(entries_);
        for (const Entry &e : old) {
            if (e.state != Empty)
                entries_[find(e.key)] = e;
        }
    }
    const size_t at = find(key);
    entries_[at] = {key, verdict ? Accepted : Refused};
    ++used_;
    return at;
}
