#include "ParadoxRowMapper.h"

#include "ConversionMessages.h"

#include "platform/core/Formats.h"

#include <QDate>

#include "PxlibApi.h"
#include <cmath>

namespace
{
bool fits(FieldKind kind, int type)
{
    switch (kind) {
    case FieldKind::String:
    case FieldKind::Memo:
        return type == pxfAlpha || type == pxfMemoBLOb || type == pxfFmtMemoBLOb;
    case FieldKind::Date:
        return type == pxfDate;
    case FieldKind::Money:
    case FieldKind::Float:
    case FieldKind::AutoIncrement:
        return type == pxfCurrency || type == pxfNumber || type == pxfShort || type == pxfLong ||
               type == pxfAutoInc;
    }
    return false;
}
} // namespace

ParadoxRowMapper::ParadoxRowMapper(const TableDefinition &definition,
                                   const std::vector<ParadoxField> &fields)
    : def_(definition), fields_(fields)
{
    for (int i = 0; i < int(fields_.size()); ++i) {
        const ParadoxField &f = fields_[size_t(i)];
        const int target = def_.indexOf(f.name.trimmed());
        const bool known = target >= 0 && !def_.field(target).calculated;
        if (!known) {
            notCarried_.append(ConversionMessages::fieldNotCarried(f.name));
        } else if (!ParadoxReader::isSupported(f.type) || !fits(def_.field(target).kind, f.type)) {
            notCarried_.append(ConversionMessages::fieldOfUnknownKind(f.name));
        } else if (def_.field(target).kind == FieldKind::AutoIncrement) {
            // Identities are given afresh; the old numbers only keep the rows' order.
            sequenceField_ = i;
            target_.push_back(-1);
            continue;
        } else {
            target_.push_back(target);
            continue;
        }
        target_.push_back(-1);
    }
}

std::variant<Record, QString> ParadoxRowMapper::convert(const ParadoxRow &row) const
{
    for (int i : row.unreadable) {
        if (target_[size_t(i)] >= 0)
            return ConversionMessages::memoUnreadable(fields_[size_t(i)].name);
    }
    Record record = def_.newRecord();
    for (int i = 0; i < int(fields_.size()); ++i) {
        const int field = target_[size_t(i)];
        const QVariant &value = row.values[size_t(i)];
        if (field < 0 || !value.isValid())
            continue;
        const FieldDef &f = def_.field(field);
        switch (f.kind) {
        case FieldKind::String:
            if (value.toString().size() > f.size)
                return ConversionMessages::textTooLong(f.name, int(value.toString().size()),
                                                       f.size);
            def_.store(record, field, value.toString());
            break;
        case FieldKind::Memo:
            def_.store(record, field, value.toString());
            break;
        case FieldKind::Date:
            if (!value.toDate().isValid())
                return ConversionMessages::badDate(f.name);
            def_.store(record, field, value.toDate());
            break;
        case FieldKind::Money: {
            const double amount = value.toDouble();
            if (!std::isfinite(amount) || std::abs(amount) >= 1e13)
                return ConversionMessages::badAmount(f.name);
            def_.store(record, field, Formats::toCents(amount));
            break;
        }
        case FieldKind::Float:
            def_.store(record, field, value.toDouble());
            break;
        case FieldKind::AutoIncrement:
            break;
        }
    }
    for (int field = 0; field < def_.fieldCount(); ++field) {
        const FieldDef &f = def_.field(field);
        if (f.required && !f.calculated && !record.has(field))
            return ConversionMessages::requiredEmpty(f.name);
    }
    return record;
}

qlonglong ParadoxRowMapper::sequence(const ParadoxRow &row) const
{
    return sequenceField_ < 0 ? 0 : row.values[size_t(sequenceField_)].toLongLong();
}

QString ParadoxRowMapper::describe(const ParadoxRow &row) const
{
    QStringList parts;
    for (int i = 0; i < int(fields_.size()) && parts.size() < 2; ++i) {
        const QVariant &value = row.values[size_t(i)];
        if (fields_[size_t(i)].type == pxfDate && value.toDate().isValid())
            parts.append(Formats::fullDate(value.toDate()));
        else if (fields_[size_t(i)].type == pxfAlpha && value.isValid())
            parts.append(value.toString());
    }
    return parts.join(QStringLiteral(", "));
}
