#include "SoinsPage.h"

#include "PageBuilder.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBComboBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBMemo.h"
#include "tables/CareEntryTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

using namespace CareFields;

namespace
{
template <typename Control> Control *named(const char *name, QWidget *parent)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}
} // namespace

SoinsPage::SoinsPage(Table &tableTous, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pageSoins"));
    DBDateSoins = named<DBEdit>("DBDateSoins", this);
    DBBeneficiaire = named<DBEdit>("DBBeneficiaire", this);
    DBPraticien = named<DBEdit>("DBPraticien", this);
    DBSpecialite = named<DBEdit>("DBSpecialite", this);
    DBPaiement = named<DBComboBox>("DBPaiement", this);
    DBCout = named<DBEdit>("DBCout", this);
    cadreEstimation = named<QGroupBox>("cadreEstimation", this);
    ccMutuellePartiel = named<DBCheckBox>("ccMutuellePartiel", cadreEstimation);
    DBchpEstimation = named<DBEdit>("DBchpEstimation", cadreEstimation);
    DBMemoSoins = named<DBMemo>("DBMemoSoins", this);

    DBDateSoins->bind(tableTous, DateSoins);
    DBBeneficiaire->bind(tableTous, Beneficiaire);
    DBBeneficiaire->setCharCase(DBEdit::CharCase::Upper);
    DBPraticien->bind(tableTous, Medecin);
    DBPraticien->setCharCase(DBEdit::CharCase::Upper);
    DBSpecialite->bind(tableTous, Specialite);
    DBSpecialite->setWordCapitals(true);
    DBPaiement->setItems(
        {QStringLiteral("Chèque"), QStringLiteral("Carte bleue"), QStringLiteral("Espèces")});
    DBPaiement->bind(tableTous, Paiement);
    DBCout->bind(tableTous, Cout);
    ccMutuellePartiel->setText(QStringLiteral(" Remboursement partiel"));
    ccMutuellePartiel->bind(tableTous, MutuelleOuiNon);
    DBchpEstimation->bind(tableTous, Estimation);
    DBMemoSoins->bind(tableTous, NoteSoins);
    for (DBEdit *edit : {DBDateSoins, DBBeneficiaire, DBPraticien, DBSpecialite, DBCout})
        edit->setSelectAllOnClick(true);
    DBMemoSoins->setSelectAllOnClick(true);

    auto *box = new QHBoxLayout(cadreEstimation);
    box->setContentsMargins(6, 2, 6, 2);
    box->addWidget(ccMutuellePartiel);
    box->addSpacing(12);
    auto *estimateCaption = new QLabel(QStringLiteral("Estimation :"), cadreEstimation);
    estimateCaption->setBuddy(DBchpEstimation);
    DBchpEstimation->setAccessibleName(QStringLiteral("Estimation"));
    ccMutuellePartiel->setAccessibleName(QStringLiteral("Remboursement partiel"));
    box->addWidget(estimateCaption);
    box->addWidget(DBchpEstimation);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    PageBuilder::add(grid, 0, 0, QStringLiteral("Date :"), DBDateSoins);
    PageBuilder::add(grid, 0, 2, QStringLiteral("Bénéficiaire :"), DBBeneficiaire);
    PageBuilder::add(grid, 0, 4, QStringLiteral("Médecin :"), DBPraticien);
    PageBuilder::add(grid, 1, 0, QStringLiteral("Spécialité :"), DBSpecialite, 3);
    PageBuilder::add(grid, 1, 4, QStringLiteral("Paiement :"), DBPaiement);
    PageBuilder::add(grid, 2, 0, QStringLiteral("Coût :"), DBCout);
    grid->addWidget(cadreEstimation, 2, 2, 1, 4, Qt::AlignLeft);
    PageBuilder::add(grid, 3, 0, QStringLiteral("Note :"), DBMemoSoins, 5);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    DBDateSoins->setFixedWidth(72);
    DBCout->setFixedWidth(90);
    DBchpEstimation->setFixedWidth(90);

    setTabOrder(DBDateSoins, DBBeneficiaire);
    setTabOrder(DBBeneficiaire, DBPraticien);
    setTabOrder(DBPraticien, DBSpecialite);
    setTabOrder(DBSpecialite, DBPaiement);
    setTabOrder(DBPaiement, DBCout);
    setTabOrder(DBCout, ccMutuellePartiel);
    setTabOrder(ccMutuellePartiel, DBchpEstimation);
    setTabOrder(DBchpEstimation, DBMemoSoins);
}
