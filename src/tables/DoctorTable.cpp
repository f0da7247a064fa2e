#include "DoctorTable.h"

#include "TableFormats.h"

const TableDefinition &DoctorTable::definition()
{
    using namespace DoctorFields;
    static const TableDefinition def = [&] {
        TableDefinition d(QStringLiteral("MEDECINS.DB"), QStringLiteral("MEDECINS"),
                          {
                              FieldDef::text(Nom, 30).asRequired().withLabel("Nom").withWidth(17),
                              FieldDef::text(Prenom, 20).withLabel("Prénom").withWidth(12),
                              FieldDef::text(Specialite, 25).withLabel("Spécialité").withWidth(18),
                              FieldDef::text(Ville, 25).hidden(),
                              FieldDef::text(Adresse, 40).hidden(),
                              FieldDef::text(CodePostal, 5).withMask("!00000;1;_").hidden(),
                              FieldDef::text(Tel, 15)
                                  .withLabel("Téléphone")
                                  .withWidth(12)
                                  .withMask("!00\\-00\\-00\\-00\\-00;1;_"),
                              FieldDef::rowId(Numero),
                          },
                          {Nom, Prenom, Numero});
        d.setFormatHistory(TableFormats::doctors());
        return d;
    }();
    return def;
}
