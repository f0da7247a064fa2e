#include "TableDefinition.h"

#include "RowRef.h"

#include <QDate>
#include <QVariant>
#include <bit>

TableDefinition::TableDefinition(QString fileName, QString sqlName, std::vector<FieldDef> fields,
                                 QStringList primaryKey)
    : fileName_(std::move(fileName)), sqlName_(std::move(sqlName)), fields_(std::move(fields)),
      primaryKey_(std::move(primaryKey))
{
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[size_t(i)].kind == FieldKind::AutoIncrement)
            rowIdIndex_ = i;
        byName_.insert(fields_[size_t(i)].name, i);
        const FieldKind kind = fields_[size_t(i)].kind;
        const bool text = kind == FieldKind::String || kind == FieldKind::Memo;
        textSlots_.push_back(text ? textCount_++ : -1);
    }
    Q_ASSERT(fieldCount() <= 64); // one presence bit per field in a record
}

int TableDefinition::indexOf(const QString &name) const
{
    const auto exact = byName_.constFind(name);
    if (exact != byName_.cend())
        return *exact;
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TableDefinition::quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString TableDefinition::primaryIndexName() const
{
    return sqlName_ + QStringLiteral("_cle");
}

std::vector<SchemaObject> TableDefinition::ownObjects() const
{
    // The table's statement is compared with its format version's (FileFormat), and an index
    // changes no data: they are known here by name.
    std::vector<SchemaObject> own{{QStringLiteral("table"), sqlName_, QString()},
                                  {QStringLiteral("index"), primaryIndexName(), QString()}};
    own.insert(own.end(), companions_.begin(), companions_.end());
    return own;
}

void TableDefinition::addCompanions(const std::vector<SchemaObject> &objects)
{
    companions_.insert(companions_.end(), objects.begin(), objects.end());
}

void TableDefinition::setFormatHistory(std::vector<FormatVersion> versions)
{
    formats_ = std::move(versions);
}

QStringList TableDefinition::createStatements() const
{
    QStringList columns;
    for (const FieldDef &f : fields_) {
        if (f.calculated)
            continue;
        QString type;
        switch (f.kind) {
        case FieldKind::String:
        case FieldKind::Memo:
        case FieldKind::Date:
            type = QStringLiteral("TEXT");
            break;
        case FieldKind::Money:
        case FieldKind::Float:
            type = QStringLiteral("REAL");
            break;
        case FieldKind::AutoIncrement:
            type = QStringLiteral("INTEGER PRIMARY KEY");
            break;
        }
        columns.append(quoted(f.name) + QLatin1Char(' ') + type);
    }
    QStringList key;
    for (const QString &k : primaryKey_)
        key.append(quoted(k));
    return {QStringLiteral("CREATE TABLE %1 (%2)")
                .arg(quoted(sqlName_), columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                .arg(quoted(primaryIndexName()), quoted(sqlName_), key.join(QStringLiteral(", ")))};
}

QVariant TableDefinition::valueOf(const RowRef &record, int field) const
{
    if (!record.has(field))
        return QVariant();
    switch (fields_[size_t(field)].kind) {
    case FieldKind::String:
    case FieldKind::Memo:
        return record.text(field, textSlot(field));
    case FieldKind::Date:
        return QDate::fromJulianDay(record.number(field));
    case FieldKind::Money:
    case FieldKind::AutoIncrement:
        return qlonglong(record.number(field));
    case FieldKind::Float:
        return std::bit_cast<double>(record.number(field));
    }
    return QVariant();
}

void TableDefinition::store(Record &record, int field, const QVariant &value) const
{
    if (!value.isValid()) {
        record.clear(field, textSlot(field));
        return;
    }
    switch (fields_[size_t(field)].kind) {
    case FieldKind::String:
    case FieldKind::Memo:
        record.setText(field, textSlot(field), value.toString());
        return;
    case FieldKind::Date:
        record.setNumber(field, value.toDate().toJulianDay());
        return;
    case FieldKind::Money:
    case FieldKind::AutoIncrement:
        record.setNumber(field, value.toLongLong());
        return;
    case FieldKind::Float:
        record.setNumber(field, std::bit_cast<qint64>(value.toDouble()));
        return;
    }
}
