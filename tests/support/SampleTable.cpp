#include "support/SampleTable.h"

#include "platform/store/TableStorage.h"

namespace SampleTable
{

TableDefinition definition()
{
    std::vector<FieldDef> fields{
        FieldDef::text("Nom", 10).asRequired().withLabel("Nom du patient"),
        FieldDef::date("Jour").asRequired().withLabel("Date"),
        FieldDef::money("Montant"),
        FieldDef::memo("Note"),
        FieldDef::number("Taux"),
        FieldDef::money("Double").asCalculated(),
        FieldDef::rowId("Numero"),
    };
    return TableDefinition(
        QStringLiteral("SAMPLE.DB"), QStringLiteral("SAMPLE"), fields,
        {QStringLiteral("Nom"), QStringLiteral("Jour"), QStringLiteral("Numero")});
}

void createIn(const QString &folder)
{
    TableStorage::createFile(folder + QStringLiteral("/SAMPLE.DB"), definition());
}

std::unique_ptr<Table> openIn(const QString &folder)
{
    auto table = std::make_unique<Table>(definition());
    table->setDatabaseName(folder);
    table->open();
    return table;
}

void addRow(Table &table, const QString &name, const QDate &date, qint64 cents)
{
    table.append();
    table.fieldByName(QStringLiteral("Nom")).setAsString(name);
    table.fieldByName(QStringLiteral("Jour")).setAsDate(date);
    table.fieldByName(QStringLiteral("Montant")).setAsCents(cents);
    table.post();
}

} // namespace SampleTable
