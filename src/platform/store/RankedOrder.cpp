#include "RankedOrder.h"

#include "platform/core/TextCollation.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace
{

template <typename T> int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

std::vector<quint32> collationRanks(const TextPool &pool)
{
    std::vector<quint32> ids(pool.size());
    std::iota(ids.begin(), ids.end(), 0u);
    std::sort(ids.begin(), ids.end(), [&pool](quint32 a, quint32 b) {
        return TextCollation::compare(pool.text(a), pool.text(b)) < 0;
    });
    std::vector<quint32> ranks(pool.size());
    quint32 rank = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i > 0 && TextCollation::compare(pool.text(ids[i - 1]), pool.text(ids[i])) != 0)
            ++rank;
        ranks[ids[i]] = rank;
    }
    return ranks;
}

} // namespace

RankedOrder::RankedOrder(const RecordOrder &order, const RowStore &store) : store_(store)
{
    for (size_t i = 0; i < order.fields().size(); ++i) {
        const int field = order.fields()[i];
        const FieldKind kind = order.kinds()[i];
        const bool text = kind == FieldKind::String || kind == FieldKind::Memo;
        keys_.push_back(
            {field, kind, text ? collationRanks(store.pool(field)) : std::vector<quint32>()});
    }
}

int RankedOrder::compareKey(const Key &key, quint32 a, quint32 b) const
{
    const int f = key.field;
    if (!key.ranks.empty()) {
        // An empty text (number 0) sorts as "", whether stored empty or absent.
        return threeWay(key.ranks[store_.textId(a, f)], key.ranks[store_.textId(b, f)]);
    }
    if (!store_.has(a, f) || !store_.has(b, f))
        return threeWay(store_.has(a, f), store_.has(b, f));
    if (key.kind == FieldKind::Float)
        return threeWay(std::bit_cast<double>(store_.number(a, f)),
                        std::bit_cast<double>(store_.number(b, f)));
    return threeWay(store_.number(a, f), store_.number(b, f));
}

int RankedOrder::compare(quint32 a, quint32 b) const
{
    for (const Key &key : keys_) {
        const int c = compareKey(key, a, b);
        if (c != 0)
            return c;
    }
    return 0;
}

void RankedOrder::sort(std::vector<quint32> &rows) const
{
    const auto less = [this](quint32 a, quint32 b) { return compare(a, b) < 0; };
    if (keys_.empty() || std::is_sorted(rows.begin(), rows.end(), less))
        return;
    const Key &leading = keys_.front();
    const auto leadingLess = [&](quint32 a, quint32 b) { return compareKey(leading, a, b) < 0; };
    if (!std::is_sorted(rows.begin(), rows.end(), leadingLess)) {
        std::sort(rows.begin(), rows.end(), less);
        return;
    }
    for (auto run = rows.begin(); run != rows.end();) {
        auto end = run + 1;
        while (end != rows.end() && compareKey(leading, *run, *end) == 0)
            ++end;
        if (end - run > 1)
            std::sort(run, end, less);
        run = end;
    }
}
