#pragma once

#include "RowStore.h"

#include <unordered_map>
#include <vector>

// The verdicts of a filter that reads only a few fields of a row, by the values of those
// fields: the filter runs once per distinct combination, and every other row with the same
// values takes the same verdict. Texts are told apart by their pool numbers; dates, when the
// filter reads only their year, by year. Each field's value gets a small number, the numbers
// of a row make one 64-bit key, and the verdicts sit in a small open-addressed table: a row
// costs a few loads, not a filter call. Lives for one pass over the rows: the selections a
// filter reads may change between passes.
class FilterMemo
{
public:
    static constexpr size_t MaxFields = 3;

    FilterMemo(const RowStore &store, const std::vector<int> &fields, bool datesByYear);

    template <typename Run> bool accepts(quint32 slot, Run run)
    {
        const quint64 key = keyOf(slot);
        if (key == Unkeyed)
            return run();
        if (key == lastKey_)
            return lastVerdict_;
        size_t at = find(key);
        if (entries_[at].state == Empty) {
            const bool verdict = run();
            at = insert(key, verdict);
        }
        lastKey_ = key;
        lastVerdict_ = entries_[at].state == Accepted;
        return lastVerdict_;
    }
    // How many times the filter itself ran.
    size_t distinctKeys() const { return used_; }

private:
    static constexpr quint64 Unkeyed = ~quint64(0); // too many distinct values to key
    enum State : quint8 { Empty, Accepted, Refused };
    struct Entry {
        quint64 key = 0;
        State state = Empty;
    };
    // Small numbers for one field's values, in order of appearance; 0 is "empty".
    struct Coder {
        int field = 0;
        FieldKind kind = FieldKind::String;
        qint64 lastValue = 0;
        quint32 lastCode = 0;
        std::unordered_map<qint64, quint32> codes;
    };

    quint64 keyOf(quint32 slot);
    quint32 codeOf(Coder &coder, quint32 slot);
    qint64 yearOf(qint64 julianDay);
    size_t find(quint64 key) const;
    size_t insert(quint64 key, bool verdict);

    const RowStore &store_;
    std::vector<Coder> coders_;
    int bitsPerField_;
    bool datesByYear_;
    qint64 yearFirstDay_ = 1, yearEndDay_ = 0, year_ = 0; // the last year looked up
    std::vector<Entry> entries_;
    size_t used_ = 0;
    quint64 lastKey_ = Unkeyed;
    bool lastVerdict_ = false;
};
