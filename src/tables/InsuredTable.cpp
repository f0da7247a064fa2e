#include "InsuredTable.h"

#include "TableFormats.h"

const TableDefinition &InsuredTable::definition()
{
    using namespace InsuredFields;
    const QString dateMask = QStringLiteral("!99/99/00;1;_");
    static const TableDefinition def = [&] {
        TableDefinition d(QStringLiteral("ASSURE.DB"), QStringLiteral("ASSURE"),
                          {
                              FieldDef::text(Nom, 20).asRequired().withLabel("Nom").withWidth(21),
                              FieldDef::text(Prenom, 20).withLabel("Prénom").withWidth(20),
                              FieldDef::text(Naissance, 10).withMask(dateMask).hidden(),
                              FieldDef::text(NumSS, 20)
                                  .withLabel("N° d'immatriculation")
                                  .withWidth(20)
                                  .withMask("!0000000000000\\-99;0;_"),
                              FieldDef::text(Droits, 10).withMask(dateMask).hidden(),
                              FieldDef::text(AyantDr, 5).hidden(),
                              FieldDef::rowId(Numero),
                          },
                          {Nom, Prenom, Numero});
        d.setFormatHistory(TableFormats::insured());
        return d;
    }();
    return def;
}
