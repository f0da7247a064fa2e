#pragma once

#include "RowStore.h"

#include <array>
#include <unordered_map>
#include <vector>

// The verdicts of a filter that reads only a few fields of a row, by the values of those
// fields: the filter runs once per distinct combination, and every other row with the same
// values takes the same verdict. Texts are compared by their pool numbers; dates, when the
// filter reads only their year, by year. Lives for one pass over the rows: the selections a
// filter reads may change between passes.
class FilterMemo
{
public:
    static constexpr size_t MaxFields = 3;

    FilterMemo(const RowStore &store, std::vector<int> fields, bool datesByYear);

    template <typename Run> bool accepts(quint32 slot, Run run)
    {
        const Key key = keyOf(slot);
        const auto found = verdicts_.find(key);
        if (found != verdicts_.end())
            return found->second;
        const bool verdict = run();
        verdicts_.emplace(key, verdict);
        return verdict;
    }
    // How many times the filter itself ran.
    size_t distinctKeys() const { return verdicts_.size(); }

private:
    using Key = std::array<qint64, MaxFields + 1>; // presence bits, then each field's value
    struct KeyHash {
        size_t operator()(const Key &key) const;
    };
    Key keyOf(quint32 slot);
    qint64 yearOf(qint64 julianDay);

    const RowStore &store_;
    std::vector<int> fields_;
    std::vector<FieldKind> kinds_;
    bool datesByYear_;
    qint64 yearFirstDay_ = 1, yearEndDay_ = 0, year_ = 0; // the last year looked up
    std::unordered_map<Key, bool, KeyHash> verdicts_;
};
