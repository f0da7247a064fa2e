#include "MutuellePage.h"

#include "PageBuilder.h"

#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBMemo.h"
#include "tables/CareEntryTable.h"

#include <QGridLayout>

using namespace CareFields;

MutuellePage::MutuellePage(Table &tableTous, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pageMutuelle"));
    DBchpDateMutuelle = new DBEdit(this);
    DBchpDateMutuelle->setObjectName(QStringLiteral("DBchpDateMutuelle"));
    DBchpMontantMutuelle = new DBEdit(this);
    DBchpMontantMutuelle->setObjectName(QStringLiteral("DBchpMontantMutuelle"));
    DBMemoMutuelle = new DBMemo(this);
    DBMemoMutuelle->setObjectName(QStringLiteral("DBMemoMutuelle"));

    DBchpDateMutuelle->bind(tableTous, DateMutuelle);
    DBchpMontantMutuelle->bind(tableTous, MontantMutuelle);
    DBMemoMutuelle->bind(tableTous, NoteMutuelle);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    PageBuilder::add(grid, 0, 0, QStringLiteral("Date de rembours. :"), DBchpDateMutuelle);
    // Row 1 stays empty, where the "C.P.A.M." page has its base: the captions both pages share
    // stand at the same place.
    PageBuilder::add(grid, 2, 0, QStringLiteral("Montant :"), DBchpMontantMutuelle);
    PageBuilder::add(grid, 0, 2, QStringLiteral("Note :"), DBMemoMutuelle, 1, 5);
    grid->setRowMinimumHeight(1, DBchpMontantMutuelle->sizeHint().height());
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
    DBchpDateMutuelle->setFixedWidth(90);
    DBchpMontantMutuelle->setFixedWidth(90);

    setTabOrder(DBchpDateMutuelle, DBchpMontantMutuelle);
    setTabOrder(DBchpMontantMutuelle, DBMemoMutuelle);
}
