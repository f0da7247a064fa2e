#include "RowStore.h"

#include <algorithm>
#include <numeric>

#include "TableDefinition.h"

RowStore::RowStore(const TableDefinition &definition)
    : def_(definition), pools_(size_t(definition.fieldCount())),
      rowIdField_(definition.rowIdIndex())
{
    const int count = def_.fieldCount();
    width_ = quint32((count + 31) / 32);
    for (int i = 0; i < count; ++i) {
        const FieldDef &f = def_.field(i);
        kinds_.push_back(f.kind);
        if (f.calculated) {
            offsets_.push_back(-1);
            continue;
        }
        offsets_.push_back(int(width_));
        width_ += f.kind == FieldKind::Float ? 2 : 1;
    }
}

void RowStore::empty(quint32 slot)
{
    quint32 *w = words(slot);
    for (size_t f = 0; f < offsets_.size(); ++f) {
        const FieldKind kind = kinds_[f];
        if (offsets_[f] >= 0 && kind != FieldKind::Float && kind != FieldKind::String &&
            kind != FieldKind::Memo && qint32(w[offsets_[f]]) == Escaped)
            wide_.remove(wideKey(slot, int(f)));
    }
    std::fill(w, w + width_, 0u);
}

quint32 RowStore::addEmpty()
{
    if (!free_.empty()) {
        const quint32 slot = free_.back();
        free_.pop_back();
        return slot;
    }
    if ((next_ >> ChunkShift) == chunks_.size())
        chunks_.push_back(std::make_unique<quint32[]>(size_t(ChunkRows) * width_));
    return next_++;
}

quint32 RowStore::add(const Record &record)
{
    const quint32 slot = addEmpty();
    assign(slot, record);
    return slot;
}

void RowStore::assign(quint32 slot, const Record &record)
{
    empty(slot);
    for (int f = 0; f < int(offsets_.size()); ++f) {
        if (offsets_[size_t(f)] < 0 || !record.has(f))
            continue;
        const FieldKind kind = kinds_[size_t(f)];
        if (kind == FieldKind::String || kind == FieldKind::Memo)
            setTextId(slot, f, pools_[size_t(f)].intern(record.text(def_.textSlot(f))));
        else
            setNumber(slot, f, record.number(f));
    }
}

void RowStore::release(quint32 slot)
{
    empty(slot);
    free_.push_back(slot);
}

void RowStore::clear()
{
    chunks_.clear();
    free_.clear();
    wide_.clear();
    next_ = 0;
    for (TextPool &pool : pools_)
        pool.clear();
}

Record RowStore::record(quint32 slot) const
{
    Record r = def_.newRecord();
    for (int f = 0; f < int(offsets_.size()); ++f) {
        if (offsets_[size_t(f)] < 0 || !has(slot, f))
            continue;
        const FieldKind kind = kinds_[size_t(f)];
        if (kind == FieldKind::String || kind == FieldKind::Memo)
            r.setText(f, def_.textSlot(f), text(slot, f));
        else
            r.setNumber(f, number(slot, f));
    }
    r.rowId = rowId(slot);
    return r;
}

void RowStore::setNumber(quint32 slot, int field, qint64 value)
{
    quint32 *w = words(slot);
    w[field >> 5] |= 1u << (field & 31);
    quint32 *at = w + offsets_[size_t(field)];
    if (kinds_[size_t(field)] == FieldKind::Float) {
        std::memcpy(at, &value, sizeof value);
        return;
    }
    if (qint32(*at) == Escaped)
        wide_.remove(wideKey(slot, field));
    if (value > std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()) {
        *at = quint32(qint32(value));
        return;
    }
    *at = quint32(Escaped);
    wide_.insert(wideKey(slot, field), value);
}

qint64 RowStore::wide(quint32 slot, int field) const
{
    return wide_.value(wideKey(slot, field));
}

void RowStore::setTextId(quint32 slot, int field, quint32 id)
{
    quint32 *w = words(slot);
    w[field >> 5] |= 1u << (field & 31);
    w[offsets_[size_t(field)]] = id;
}

std::vector<quint32> RowStore::slotsByRowId() const
{
    std::vector<quint32> slots(next_);
    std::iota(slots.begin(), slots.end(), 0u);
    const auto byId = [this](quint32 a, quint32 b) { return rowId(a) < rowId(b); };
    // Files are mostly read in identity order already.
    if (!std::is_sorted(slots.begin(), slots.end(), byId))
        std::sort(slots.begin(), slots.end(), byId);
    return slots;
}
