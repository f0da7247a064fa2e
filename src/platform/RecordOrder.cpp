#include "RecordOrder.h"

#include "DatabaseError.h"
#include "PlatformMessages.h"
#include "TableDefinition.h"

#include <QDate>

RecordOrder::RecordOrder(const TableDefinition &definition, const QStringList &fieldNames)
    : names_(fieldNames)
{
    for (const QString &name : fieldNames) {
        const int index = definition.indexOf(name.trimmed());
        if (index < 0)
            throw DatabaseError(PlatformMessages::fieldNotFound(name));
        indexes_.push_back(index);
        kinds_.push_back(definition.field(index).kind);
    }
}

namespace
{

template <typename T> int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

const QString &textOf(const QVariant &v)
{
    static const QString empty;
    return v.isNull() ? empty : *static_cast<const QString *>(v.constData());
}

} // namespace

int RecordOrder::compareValues(FieldKind kind, const QVariant &a, const QVariant &b)
{
    switch (kind) {
    case FieldKind::String:
    case FieldKind::Memo: {
        const int c = textOf(a).compare(textOf(b));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    default:
        break;
    }
    if (a.isNull() || b.isNull())
        return threeWay(!a.isNull(), !b.isNull());
    switch (kind) {
    case FieldKind::Date:
        return threeWay(a.toDate().toJulianDay(), b.toDate().toJulianDay());
    case FieldKind::Money:
    case FieldKind::AutoIncrement:
        return threeWay(a.toLongLong(), b.toLongLong());
    case FieldKind::Float:
        return threeWay(a.toDouble(), b.toDouble());
    default:
        return 0;
    }
}

int RecordOrder::compare(const Record &a, const Record &b) const
{
    for (size_t i = 0; i < indexes_.size(); ++i) {
        const size_t f = size_t(indexes_[i]);
        const int c = compareValues(kinds_[i], a.values[f], b.values[f]);
        if (c != 0)
            return c;
    }
    return 0;
}
