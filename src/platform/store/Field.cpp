#include "Field.h"

#include "DatabaseError.h"
#include "Table.h"
#include "platform/core/Formats.h"
#include "platform/core/ParseError.h"
#include "platform/core/PlatformMessages.h"

#include <bit>

Field::Field(Table &table, int index) : table_(table), index_(index) {}

const FieldDef &Field::def() const
{
    return table_.definition().field(index_);
}

QVariant Field::value() const
{
    return table_.activeValue(index_);
}

bool Field::isNull() const
{
    const RowRef r = table_.recordFor(index_);
    return !r.has(index_);
}

QString Field::asString() const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_))
        return QString();
    switch (kind()) {
    case FieldKind::String:
    case FieldKind::Memo:
        return r.text(index_, table_.definition().textSlot(index_));
    case FieldKind::Date:
        return Formats::date(QDate::fromJulianDay(r.number(index_)));
    case FieldKind::Money:
        return Formats::moneyEdit(r.number(index_));
    case FieldKind::Float:
        return Formats::number(std::bit_cast<double>(r.number(index_)));
    case FieldKind::AutoIncrement:
        return QString::number(r.number(index_));
    }
    return QString();
}

double Field::asFloat() const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_))
        return 0.0;
    switch (kind()) {
    case FieldKind::Money:
        return Formats::fromCents(r.number(index_));
    case FieldKind::Float:
        return std::bit_cast<double>(r.number(index_));
    case FieldKind::AutoIncrement:
        return double(r.number(index_));
    case FieldKind::String:
    case FieldKind::Memo:
        try {
            return Formats::parseNumber(asString()).value_or(0.0);
        } catch (const ParseError &) {
            return 0.0;
        }
    case FieldKind::Date:
        return 0.0;
    }
    return 0.0;
}

qint64 Field::asCents() const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_))
        return 0;
    if (kind() == FieldKind::Money)
        return r.number(index_);
    return Formats::toCents(asFloat());
}

QDate Field::asDate() const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_) || kind() != FieldKind::Date)
        return QDate();
    return QDate::fromJulianDay(r.number(index_));
}

bool Field::holds(const QString &text) const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_))
        return text.isEmpty();
    const int slot = table_.definition().textSlot(index_);
    return slot >= 0 ? r.text(index_, slot) == text : asString() == text;
}

QString Field::displayText() const
{
    const RowRef r = table_.recordFor(index_);
    if (!r.has(index_))
        return QString();
    switch (kind()) {
    case FieldKind::Money:
        return Formats::money(r.number(index_));
    case FieldKind::Float:
        if (def().displayFormat == QLatin1String("00%"))
            return Formats::rate(std::bit_cast<double>(r.number(index_)));
        return Formats::number(std::bit_cast<double>(r.number(index_)));
    default:
        return asString();
    }
}

void Field::setAsString(const QString &text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    switch (kind()) {
    case FieldKind::String:
    case FieldKind::Memo:
        setValue(text);
        return;
    case FieldKind::Date: {
        const QDate date = Formats::parseDate(text);
        setValue(date.isValid() ? QVariant(date) : QVariant());
        return;
    }
    case FieldKind::Money: {
        const std::optional<qint64> cents = Formats::parseMoney(text);
        setValue(cents ? QVariant(qlonglong(*cents)) : QVariant());
        return;
    }
    case FieldKind::Float: {
        const std::optional<double> number = Formats::parseNumber(text);
        setValue(number ? QVariant(*number) : QVariant());
        return;
    }
    case FieldKind::AutoIncrement:
        setValue(text.toLongLong());
        return;
    }
}

void Field::setAsFloat(double value)
{
    switch (kind()) {
    case FieldKind::Money:
        setValue(qlonglong(Formats::toCents(value)));
        return;
    case FieldKind::String:
    case FieldKind::Memo:
        setValue(Formats::number(value));
        return;
    default:
        setValue(value);
        return;
    }
}

void Field::setAsCents(qint64 cents)
{
    if (kind() == FieldKind::Money)
        setValue(qlonglong(cents));
    else
        setAsFloat(Formats::fromCents(cents));
}

void Field::setAsDate(const QDate &date)
{
    setValue(date.isValid() ? QVariant(date) : QVariant());
}

void Field::clear()
{
    table_.setActiveValue(index_, QVariant());
}

void Field::setValue(const QVariant &value)
{
    if (value.isNull()) {
        clear();
        return;
    }
    QVariant stored;
    switch (kind()) {
    case FieldKind::String:
    case FieldKind::Memo: {
        const QString text = value.toString();
        if (kind() == FieldKind::String && def().size > 0 && text.size() > def().size)
            throw DatabaseError(PlatformMessages::textTooLong(displayLabel(), def().size));
        if (!text.isEmpty())
            stored = text;
        break;
    }
    case FieldKind::Date:
        if (value.toDate().isValid())
            stored = value.toDate();
        break;
    case FieldKind::Money:
        stored = value.typeId() == QMetaType::Double ? qlonglong(Formats::toCents(value.toDouble()))
                                                     : value.toLongLong();
        break;
    case FieldKind::Float:
        stored = value.toDouble();
        break;
    case FieldKind::AutoIncrement:
        stored = value.toLongLong();
        break;
    }
    table_.setActiveValue(index_, stored);
}
