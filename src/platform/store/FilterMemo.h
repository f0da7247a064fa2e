#pragma once

#include "RowStore.h"

#include <unordered_map>
#include <vector>

// The fields a filter reads, of a date only its year with `datesByYear`.
struct FilterFields {
    std::vector<int> fields;
    bool datesByYear = false;
    bool operator==(const FilterFields &) const = default;
};

// The verdicts of a filter that reads only a few fields of a row, by the values of those
// fields. Each row gets a class: the combination of those values (texts told apart by their
// pool numbers; dates, when the filter reads only their year, by year). The classes are kept
// while the rows' values stay, so a pass over the rows runs the filter once per class and
// costs a table look-up per row. A pass forgets the verdicts: the selections a filter reads
// may change between passes.
class FilterMemo
{
public:
    static constexpr size_t MaxFields = 3;

    // Classes are kept for a few fields only: with more, the filter runs on every row.
    static bool keepsClassesOf(const FilterFields &declared)
    {
        return !declared.fields.empty() && declared.fields.size() <= MaxFields;
    }
    FilterMemo(const RowStore &store, FilterFields declared);

    void newPass() { std::fill(verdicts_.begin(), verdicts_.end(), Unknown); }
    // The row's values changed (a post), or its slot now holds another row.
    void refresh(quint32 slot)
    {
        if (slot < classes_.size())
            classes_[slot] = Unclassified;
    }

    template <typename Run> bool accepts(quint32 slot, Run run)
    {
        const quint16 c = classOf(slot);
        if (c == Unclassed)
            return run();
        quint8 &verdict = verdicts_[c];
        if (verdict == Unknown)
            verdict = run() ? Accepted : Refused;
        return verdict == Accepted;
    }
    // How many distinct combinations the rows seen so far hold.
    size_t classCount() const { return verdicts_.size(); }
    // Every row of the store given its class now (on the thread that read them), so that the
    // first pass costs only look-ups.
    void classifyAll();
    bool isFor(const RowStore &store, const FilterFields &declared) const
    {
        return &store == &store_ && declared == declared_;
    }

private:
    static constexpr quint16 Unclassified = 0xFFFF; // not looked at yet
    static constexpr quint16 Unclassed = 0xFFFE;    // too many classes: the filter runs
    static constexpr quint64 Unkeyed = ~quint64(0); // too many distinct values to key
    enum : quint8 { Unknown, Accepted, Refused };
    // Small numbers for one field's values, in order of appearance; 0 is "empty".
    struct Coder {
        int field = 0;
        FieldKind kind = FieldKind::String;
        qint64 lastValue = 0;
        quint32 lastCode = 0;
        std::unordered_map<qint64, quint32> codes;
    };

    quint16 classOf(quint32 slot)
    {
        if (slot >= classes_.size())
            classes_.resize(size_t(store_.slotCount()), Unclassified);
        quint16 &c = classes_[slot];
        if (c == Unclassified)
            c = classify(slot);
        return c;
    }
    quint16 classify(quint32 slot);
    quint64 keyOf(quint32 slot);
    quint32 codeOf(Coder &coder, quint32 slot);
    qint64 yearOf(qint64 julianDay);

    const RowStore &store_;
    FilterFields declared_;
    std::vector<Coder> coders_;
    int bitsPerField_;
    qint64 yearFirstDay_ = 1, yearEndDay_ = 0, year_ = 0; // the last year looked up
    std::unordered_map<quint64, quint16> classByKey_;
    std::vector<quint16> classes_; // by slot
    std::vector<quint8> verdicts_; // by class, for this pass
    quint64 lastKey_ = Unkeyed;
    quint16 lastClass_ = Unclassed;
};
