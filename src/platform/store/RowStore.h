#pragma once

#include "FieldKind.h"
#include "Record.h"
#include "TextPool.h"

#include <QHash>

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

class TableDefinition;

// The rows of a table component, packed: one fixed-size slot of 32-bit words per row, slots
// allocated in large chunks and named by number. Presence bits first, then one word per date
// (Julian day), amount (cents) or row identity, two per floating point number, and one per
// text: the number of the text in its field's pool. A number that does not fit in a word is
// kept exactly aside. A care row costs about 80 bytes instead of a heap record per row.
class RowStore
{
public:
    static constexpr quint32 NoSlot = std::numeric_limits<quint32>::max();

    explicit RowStore(const TableDefinition &definition);

    // A new slot with every field empty.
    quint32 addEmpty();
    quint32 add(const Record &record);
    // The slot takes the record's values (not its row identity field if it has none).
    void assign(quint32 slot, const Record &record);
    void release(quint32 slot);
    void clear();
    // Slots ever handed out, released ones included.
    quint32 slotCount() const { return next_; }
    // Every slot of a store just read (none released), in order of row identity.
    std::vector<quint32> slotsByRowId() const;

    FieldKind kind(int field) const { return kinds_[size_t(field)]; }
    bool has(quint32 slot, int field) const
    {
        return (words(slot)[field >> 5] >> (field & 31)) & 1u;
    }
    qint64 number(quint32 slot, int field) const
    {
        const quint32 *w = words(slot) + offsets_[size_t(field)];
        if (kinds_[size_t(field)] == FieldKind::Float) {
            qint64 bits = 0;
            std::memcpy(&bits, w, sizeof bits);
            return bits;
        }
        const auto narrow = qint32(*w);
        return narrow == Escaped ? wide(slot, field) : narrow;
    }
    // The pool number of a text field's value (0 when empty).
    quint32 textId(quint32 slot, int field) const { return words(slot)[offsets_[size_t(field)]]; }
    const QString &text(quint32 slot, int field) const
    {
        return pools_[size_t(field)].text(textId(slot, field));
    }
    qint64 rowId(quint32 slot) const { return rowIdField_ >= 0 ? number(slot, rowIdField_) : 0; }
    Record record(quint32 slot) const;

    void setNumber(quint32 slot, int field, qint64 value);
    void setTextId(quint32 slot, int field, quint32 id);
    TextPool &pool(int field) { return pools_[size_t(field)]; }
    const TextPool &pool(int field) const { return pools_[size_t(field)]; }

private:
    static constexpr int ChunkShift = 12;
    static constexpr quint32 ChunkRows = 1u << ChunkShift;
    static constexpr qint32 Escaped = std::numeric_limits<qint32>::min();

    const quint32 *words(quint32 slot) const
    {
        return chunks_[slot >> ChunkShift].get() + (slot & (ChunkRows - 1)) * width_;
    }
    quint32 *words(quint32 slot)
    {
        return chunks_[slot >> ChunkShift].get() + (slot & (ChunkRows - 1)) * width_;
    }
    static quint64 wideKey(quint32 slot, int field)
    {
        return (quint64(slot) << 8) | quint64(field);
    }
    qint64 wide(quint32 slot, int field) const; // rare: kept out of the inlined reads
    void empty(quint32 slot);

    const TableDefinition &def_;
    std::vector<FieldKind> kinds_;
    std::vector<int> offsets_; // first word of each field in a slot; -1 when not stored
    std::vector<TextPool> pools_;
    int rowIdField_ = -1;
    quint32 width_ = 0; // words per slot
    std::vector<std::unique_ptr<quint32[]>> chunks_;
    quint32 next_ = 0;
    std::vector<quint32> free_;
    QHash<quint64, qint64> wide_; // values that do not fit their word, by slot and field
};
