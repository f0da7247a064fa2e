#include "RecordOrder.h"

#include "DatabaseError.h"
#include "TableDefinition.h"
#include "platform/core/PlatformMessages.h"
#include "platform/core/TextCollation.h"

#include <bit>

RecordOrder::RecordOrder(const TableDefinition &definition, const QStringList &fieldNames)
    : names_(fieldNames)
{
    for (const QString &name : fieldNames) {
        const int index = definition.indexOf(name.trimmed());
        if (index < 0)
            throw DatabaseError(PlatformMessages::fieldNotFound(name));
        indexes_.push_back(index);
        kinds_.push_back(definition.field(index).kind);
        slots_.push_back(definition.textSlot(index));
    }
}

namespace
{

template <typename T> int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int RecordOrder::compare(const RowRef &a, const RowRef &b) const
{
    for (size_t i = 0; i < indexes_.size(); ++i) {
        const int f = indexes_[i];
        int c = 0;
        if (slots_[i] >= 0) {
            // An empty text sorts as "", before any other.
            c = TextCollation::compare(a.text(f, slots_[i]), b.text(f, slots_[i]));
        } else if (!a.has(f) || !b.has(f)) {
            c = threeWay(a.has(f), b.has(f));
        } else if (kinds_[i] == FieldKind::Float) {
            c = threeWay(std::bit_cast<double>(a.number(f)), std::bit_cast<double>(b.number(f)));
        } else {
            c = threeWay(a.number(f), b.number(f));
        }
        if (c != 0)
            return c;
    }
    return 0;
}
