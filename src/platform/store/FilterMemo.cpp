#include "FilterMemo.h"

#include <QDate>

#include <limits>

FilterMemo::FilterMemo(const RowStore &store, FilterFields declared)
    : store_(store), declared_(std::move(declared)),
      bitsPerField_(declared_.fields.empty() ? 64 : 64 / int(declared_.fields.size()))
{
    Q_ASSERT(declared_.fields.size() <= MaxFields);
    for (int f : declared_.fields) {
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
    if (coder.kind == FieldKind::Date && declared_.datesByYear) {
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

quint16 FilterMemo::classify(quint32 slot)
{
    const quint64 key = keyOf(slot);
    if (key == Unkeyed)
        return Unclassed;
    // Neighbouring rows often share a class (same day, same person).
    if (key == lastKey_)
        return lastClass_;
    auto found = classByKey_.find(key);
    if (found == classByKey_.end()) {
        if (verdicts_.size() >= Unclassed)
            return Unclassed;
        found = classByKey_.emplace(key, quint16(verdicts_.size())).first;
        verdicts_.push_back(Unknown);
    }
    lastKey_ = key;
    lastClass_ = found->second;
    return lastClass_;
}

void FilterMemo::classifyAll()
{
    for (quint32 slot = 0; slot < store_.slotCount(); ++slot)
        classOf(slot);
}
