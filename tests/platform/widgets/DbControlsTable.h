#pragma once

#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A table for the bound-control tests: a text field with a size, a masked date, money, a memo,
// the flags and lists the windows bind, an insurance number whose mask leaves its hyphen out,
// and a calculated amount.
namespace DbControlsTable
{

inline TableDefinition definition()
{
    std::vector<FieldDef> fields{
        FieldDef::text("Nom", 10).asRequired().withLabel("Nom du patient").withWidth(12),
        FieldDef::text("Prenom", 20).withLabel("Prénom").withWidth(14),
        FieldDef::date("Jour")
            .withLabel("Date")
            .withWidth(9, Qt::AlignHCenter)
            .withMask("!99/99/00;1;_"),
        FieldDef::money("Montant").withWidth(9, Qt::AlignRight),
        FieldDef::memo("Note").hidden(),
        FieldDef::text("Paiement", 15).hidden(),
        FieldDef::text("Partiel", 5).hidden(),
        FieldDef::text("NumSS", 20)
            .withLabel("N° d'immatriculation")
            .withWidth(20)
            .withMask("!0000000000000\\-99;0;_"),
        FieldDef::money("Double").asCalculated().withLabel("Double").withWidth(9, Qt::AlignRight),
        FieldDef::rowId("Numero"),
    };
    return TableDefinition("CONTROLES.DB", "CONTROLES", fields, {"Nom", "Numero"});
}

struct Row {
    Row(QString nom, qint64 cents, QString paiement = {}, QString partiel = {}, QString numSS = {})
        : nom(std::move(nom)), cents(cents), paiement(std::move(paiement)),
          partiel(std::move(partiel)), numSS(std::move(numSS))
    {
    }
    QString nom;
    qint64 cents;
    QString paiement;
    QString partiel;
    QString numSS;
};

// Types `text` into `widget` as the keyboard would, accented letters included (QTest::keyClicks
// takes Latin-1 only).
inline void type(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

// An open table over a fresh file in `folder`, holding `rows` in name order.
inline std::unique_ptr<Table> create(const QString &folder, const QList<Row> &rows)
{
    QFile::remove(folder + "/CONTROLES.DB");
    if (!TableStorage::createFile(folder + "/CONTROLES.DB", definition()))
        return nullptr;
    auto table = std::make_unique<Table>(definition());
    table->setDatabaseName(folder);
    table->onCalcFields = [](Table &t) {
        t.fieldByName("Double").setAsCents(2 * t.fieldByName("Montant").asCents());
    };
    table->open();
    for (const Row &row : rows) {
        table->append();
        table->fieldByName("Nom").setAsString(row.nom);
        table->fieldByName("Jour").setAsDate(QDate(2024, 3, 5));
        table->fieldByName("Montant").setAsCents(row.cents);
        table->fieldByName("Paiement").setAsString(row.paiement);
        table->fieldByName("Partiel").setAsString(row.partiel);
        table->fieldByName("NumSS").setAsString(row.numSS);
        table->post();
    }
    if (!rows.isEmpty())
        table->first();
    return table;
}

// What the file holds now, through a second component (as another window would see it).
inline QString storedText(const QString &folder, const QString &nom, const QString &field)
{
    Table other(definition());
    other.setDatabaseName(folder);
    other.open();
    for (other.first(); !other.eof(); other.next()) {
        if (other.fieldByName("Nom").asString() == nom)
            return other.fieldByName(field).asString();
    }
    return QStringLiteral("<no row %1>").arg(nom);
}

} // namespace DbControlsTable
