#include "CareEntryTable.h"

#include "FormerTotalsSchema.h"
#include "ProofLinkSchema.h"
#include "StatementLedgerSchema.h"
#include "TableFormats.h"
#include "TotalsSchema.h"

namespace
{
const QString DateMask = QStringLiteral("!99/99/00;1;_");
}

const TableDefinition &CareEntryTable::definition()
{
    using namespace CareFields;
    static const TableDefinition def = [] {
        TableDefinition d(
            QStringLiteral("TALO.DB"), SqlName,
            {
                FieldDef::date(DateSoins)
                    .asRequired()
                    .withLabel("Date")
                    .withWidth(9, Qt::AlignHCenter)
                    .withMask(DateMask),
                FieldDef::text(Beneficiaire, 20)
                    .asRequired()
                    .withLabel("Bénéficiaire")
                    .withWidth(14),
                FieldDef::text(Medecin, 25).withLabel("Médecin").withWidth(15),
                FieldDef::text(Specialite, 30).withLabel("Spécialite").hidden(),
                FieldDef::text(Paiement, 15).hidden(),
                FieldDef::money(Cout).asRequired().withLabel("Coût").withWidth(9, Qt::AlignRight),
                FieldDef::memo(NoteSoins).hidden(),
                FieldDef::date(DateCPAM)
                    .withLabel("Dte CPAM")
                    .withWidth(8, Qt::AlignRight)
                    .withMask(DateMask),
                FieldDef::money(Base).hidden(),
                FieldDef::money(MontantCPAM).withLabel("Mt CPAM").withWidth(9, Qt::AlignRight),
                FieldDef::number(PourcentageCPAM).asCalculated().withFormat("00%").hidden(),
                FieldDef::memo(NoteCPAM).hidden(),
                FieldDef::text(CPAMOuiNon, 5).hidden(),
                FieldDef::date(DateMutuelle)
                    .withLabel("Dte Mutu.")
                    .withWidth(9, Qt::AlignRight)
                    .withMask(DateMask),
                FieldDef::money(MontantMutuelle).withLabel("Mt Mutu.").withWidth(9, Qt::AlignRight),
                FieldDef::memo(NoteMutuelle).hidden(),
                FieldDef::text(MutuelleOuiNon, 5).hidden(),
                FieldDef::money(Balance).asCalculated().withLabel("Ecart").withWidth(
                    9, Qt::AlignRight),
                FieldDef::money(Estimation).withWidth(9, Qt::AlignRight).hidden(),
                FieldDef::rowId(Numero),
            },
            {DateSoins, Beneficiaire, Numero});
        d.addCompanions(TotalsSchema::objects());
        d.addCompanions(FormerTotalsSchema::objects());
        d.addCompanions(StatementLedgerSchema::objects());
        d.addCompanions(ProofLinkSchema::objects());
        d.setFormatHistory(TableFormats::careEntries());
        return d;
    }();
    return def;
}

QString CareEntryTable::indexFieldNames()
{
    return QStringLiteral("Date soins;Beneficiaire;Numero");
}
