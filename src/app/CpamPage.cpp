#include "CpamPage.h"

#include "PageBuilder.h"

#include "platform/core/Formats.h"
#include "platform/core/ParseError.h"
#include "platform/store/Table.h"
#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBMemo.h"
#include "register/CareRegister.h"
#include "tables/CareEntryTable.h"

#include <QGridLayout>

using namespace CareFields;

CpamPage::CpamPage(Table &tableTous, QWidget *parent) : QWidget(parent), table_(tableTous)
{
    setObjectName(QStringLiteral("pageCPAM"));
    DBchpDateCPAM = new DBEdit(this);
    DBchpDateCPAM->setObjectName(QStringLiteral("DBchpDateCPAM"));
    DBchpBase = new DBEdit(this);
    DBchpBase->setObjectName(QStringLiteral("DBchpBase"));
    DBchpMontantCPAM = new DBEdit(this);
    DBchpMontantCPAM->setObjectName(QStringLiteral("DBchpMontantCPAM"));
    DBchpPourcentage = new DBEdit(this);
    DBchpPourcentage->setObjectName(QStringLiteral("DBchpPourcentage"));
    DBMemoCPAM = new DBMemo(this);
    DBMemoCPAM->setObjectName(QStringLiteral("DBMemoCPAM"));
    ccPasCPAM = new DBCheckBox(this);
    ccPasCPAM->setObjectName(QStringLiteral("ccPasCPAM"));

    DBchpDateCPAM->bind(tableTous, DateCPAM);
    DBchpBase->bind(tableTous, Base);
    DBchpMontantCPAM->bind(tableTous, MontantCPAM);
    DBchpPourcentage->bind(tableTous, PourcentageCPAM);
    DBchpPourcentage->setFocusPolicy(Qt::ClickFocus); // calculated: skipped by Tab
    DBMemoCPAM->bind(tableTous, NoteCPAM);
    // Kept for the values already stored; new entries always get "Faux" before posting.
    ccPasCPAM->setText(QStringLiteral(" Non remboursé"));
    ccPasCPAM->setValues({QStringLiteral("Vrai"), QStringLiteral("True")},
                         {QStringLiteral("Faux"), QStringLiteral("False")});
    ccPasCPAM->bind(tableTous, CPAMOuiNon);
    ccPasCPAM->hide();

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    PageBuilder::add(grid, 0, 0, QStringLiteral("Date de rembours. :"), DBchpDateCPAM);
    PageBuilder::add(grid, 1, 0, QStringLiteral("Base :"), DBchpBase);
    PageBuilder::add(grid, 2, 0, QStringLiteral("Montant :"), DBchpMontantCPAM);
    PageBuilder::add(grid, 3, 0, QStringLiteral("Taux :"), DBchpPourcentage);
    PageBuilder::add(grid, 0, 2, QStringLiteral("Note :"), DBMemoCPAM, 1, 5);
    // Rows keep their height and the spare height goes below them, as on the "Mutuelle" page,
    // so that the captions both pages share stand at the same place.
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
    for (DBEdit *edit : {DBchpDateCPAM, DBchpBase, DBchpMontantCPAM, DBchpPourcentage})
        edit->setFixedWidth(90);

    // The rate follows every key typed in either amount, before the amount is written.
    connect(DBchpBase, &MaskedLineEdit::storedValueEdited, this, &CpamPage::showTypedRate);
    connect(DBchpMontantCPAM, &MaskedLineEdit::storedValueEdited, this, &CpamPage::showTypedRate);

    setTabOrder(DBchpDateCPAM, DBchpBase);
    setTabOrder(DBchpBase, DBchpMontantCPAM);
    setTabOrder(DBchpMontantCPAM, DBMemoCPAM);
}

std::optional<qint64> CpamPage::amountShown(const DBEdit &edit, const QString &fieldName) const
{
    if (edit.isValueModified())
        return Formats::parseMoney(edit.text());
    const Field &field = table_.fieldByName(fieldName);
    return field.isNull() ? std::nullopt : std::optional<qint64>(field.asCents());
}

void CpamPage::showTypedRate()
{
    if (!table_.isActive())
        return;
    QString shown;
    try {
        const auto rate = CareRegister::cpamRate(amountShown(*DBchpBase, Base),
                                                 amountShown(*DBchpMontantCPAM, MontantCPAM));
        if (rate)
            shown = Formats::rate(*rate);
    } catch (const ParseError &) {
        // Not an amount (yet): no rate rather than the one of the amounts before.
    }
    DBchpPourcentage->setStoredValue(shown);
}
