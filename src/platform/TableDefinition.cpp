#include "TableDefinition.h"

TableDefinition::TableDefinition(QString fileName, QString sqlName, std::vector<FieldDef> fields,
                                 QStringList primaryKey)
    : fileName_(std::move(fileName)), sqlName_(std::move(sqlName)), fields_(std::move(fields)),
      primaryKey_(std::move(primaryKey))
{
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[size_t(i)].kind == FieldKind::AutoIncrement)
            rowIdIndex_ = i;
    }
}

int TableDefinition::indexOf(const QString &name) const
{
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[size_t(i)].name == name)
            return i;
    }
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
