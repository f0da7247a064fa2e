#include "StoredRows.h"

#include "platform/store/Table.h"

void StoredRows::add(const QString &folder, const TableDefinition &definition, const Values &values)
{
    Table table(definition);
    table.setDatabaseName(folder);
    table.open();
    table.append();
    for (const auto &[field, text] : values)
        table.fieldByName(field).setAsString(text);
    table.post();
}

QStringList StoredRows::read(const QString &folder, const TableDefinition &definition,
                             const QString &index, const QStringList &fields,
                             const QString &nullText)
{
    Table table(definition);
    table.setDatabaseName(folder);
    table.setIndexFieldNames(index);
    table.open();
    QStringList rows;
    for (table.first(); !table.eof(); table.next()) {
        QStringList values;
        for (const QString &field : fields) {
            const Field &f = table.fieldByName(field);
            values.append(f.isNull() ? nullText : f.asString());
        }
        rows.append(values.join(QLatin1Char('|')));
    }
    return rows;
}
