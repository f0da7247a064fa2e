#include "CareRegister.h"

#include "CareFacts.h"
#include "CareFilterRule.h"
#include "CareViewFilter.h"
#include "RegisterSelectors.h"
#include "SpecialityActs.h"
#include "StoredTotals.h"
#include "tables/CareEntryTable.h"

#include "platform/store/BookmarkReturn.h"
#include "platform/store/ControlsDisabled.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/Table.h"

#include <QScopedValueRollback>

using namespace CareFields;

CareRegister::CareRegister(Table &tableTous, RegisterSelectors &selectors, QObject *parent)
    : QObject(parent), table_(tableTous), tableAlive_(&tableTous), selectors_(selectors),
      dateSoins_(tableTous.fieldByName(DateSoins)),
      beneficiaire_(tableTous.fieldByName(Beneficiaire)),
      specialite_(tableTous.fieldByName(Specialite)), cout_(tableTous.fieldByName(Cout)),
      base_(tableTous.fieldByName(Base)), dateCPAM_(tableTous.fieldByName(DateCPAM)),
      montantCPAM_(tableTous.fieldByName(MontantCPAM)),
      pourcentage_(tableTous.fieldByName(PourcentageCPAM)),
      cpamOuiNon_(tableTous.fieldByName(CPAMOuiNon)),
      montantMutuelle_(tableTous.fieldByName(MontantMutuelle)),
      mutuellePartielle_(tableTous.fieldByName(MutuelleOuiNon)),
      balance_(tableTous.fieldByName(Balance)), estimation_(tableTous.fieldByName(Estimation)),
      filter_(selectors)
{
    table_.onCalcFields = [this](Table &t) { TableTousCalcFields(t); };
    table_.beforePost = [this](Table &t) { TableTousBeforePost(t); };
    table_.beforeDelete = [this](Table &t) { TableTousBeforeDelete(t); };
    table_.onFilterRecord = [this](Table &t) { return TableTousFilterRecord(t); };
    CareViewFilter::declareFields(table_);
    const auto totals = [this](Table &) { TableTousAfterOpen(); };
    // The sums are installed before the rows are read: a rebuild made once they are would be
    // taken for another program's write and have every row read again.
    table_.beforeOpen = [this](Table &) { openStoredTotals(); };
    table_.afterOpen = [this](Table &) {
        checkStoredTotals();
        TableTousAfterOpen();
    };
    table_.afterPost = totals;
    table_.afterDelete = totals;
    // Rows read after the window showed: the sums are checked against them once they are all in.
    // Later, not in the middle of the operation that needed the rows.
    connect(&table_, &Table::rowsCompleted, this, &CareRegister::checkSumsOfLaterRows,
            Qt::QueuedConnection);
    // The file's own connection goes with the table's: no log is left beside a closed file.
    connect(&table_, &Table::dataSetChanged, this, [this] {
        if (!table_.isActive())
            stored_.reset();
    });
}

CareRegister::~CareRegister()
{
    if (!tableAlive_)
        return;
    table_.onCalcFields = nullptr;
    table_.beforePost = nullptr;
    table_.beforeDelete = nullptr;
    table_.onFilterRecord = nullptr;
    table_.beforeOpen = table_.afterOpen = table_.afterPost = table_.afterDelete = nullptr;
}

void CareRegister::addFollower(Table &table)
{
    followers_.push_back(&table);
}

std::optional<double> CareRegister::cpamRate(std::optional<qint64> baseCents,
                                             std::optional<qint64> cpamCents)
{
    const qint64 base = baseCents.value_or(0);
    if (base <= 0)
        return std::nullopt;
    return double(cpamCents.value_or(0)) * 100.0 / double(base);
}

void CareRegister::TableTousCalcFields(Table &)
{
    const qint64 cpam = montantCPAM_.asCents();
    if (const std::optional<double> rate = cpamRate(base_.asCents(), cpam))
        pourcentage_.setAsFloat(*rate);
    balance_.setAsCents(cout_.asCents() - (cpam + montantMutuelle_.asCents()));
}

void CareRegister::TableTousBeforePost(Table &t)
{
    const QString name = beneficiaire_.asString();
    if (!selectors_.beneficiaryItems().contains(name, Qt::CaseInsensitive))
        selectors_.appendBeneficiary(name);
    for (const QString &flag : {CPAMOuiNon, MutuelleOuiNon}) {
        Field &f = t.fieldByName(flag);
        const QString value = f.asString();
        if (value != Vrai && value != Faux)
            f.setAsString(Faux);
    }
}

void CareRegister::TableTousBeforeDelete(Table &t)
{
    const QString name = t.fieldByName(Beneficiaire).asString();
    int count = 0;
    {
        const ControlsDisabled still(t);
        BookmarkReturn back(t);
        Field &beneficiary = t.fieldByName(Beneficiaire);
        for (t.first(); !t.eof(); t.next()) {
            if (beneficiary.asString() == name)
                ++count;
        }
        // The row to delete is the one the cursor comes back to: a failure here must stop it.
        back.restore();
    }
    if (count != 1)
        return;
    const QStringList items = selectors_.beneficiaryItems();
    // Entry 0 stands for all beneficiaries and is never removed by a delete.
    for (int i = 1; i < items.size(); ++i) {
        if (items[i].compare(name, Qt::CaseInsensitive) == 0) {
            selectors_.removeBeneficiaryAt(i);
            return;
        }
    }
}

bool CareRegister::TableTousFilterRecord(Table &t)
{
    return filter_.accepts(t);
}

void CareRegister::lstListeBeneficiairesClick()
{
    const bool filtered =
        !CareFilterRule::showsEverything(selectors_.beneficiaryText(), selectors_.yearText());
    table_.setFiltered(filtered);
    for (Table *follower : followers_)
        follower->setFiltered(filtered);
    TableTousAfterOpen();
    Q_EMIT viewSwitched();
}

RegisterTotals CareRegister::sumView()
{
    RegisterTotals sums;
    sums.known = table_.isActive();
    if (table_.recordCount() == 0)
        return sums;
    // Moving to the first row posts a pending edit and takes in what another program wrote.
    table_.first();
    SpecialityActs acts;
    table_.forEachRowInView([&] {
        const CareFacts row = sumsOfRow(acts);
        sums.cost += row.cost;
        sums.cpam += row.cpam;
        sums.mutual += row.mutual;
        sums.gap += row.cost - (row.cpam + row.mutual); // the calculated Balance of the row
        const qint64 withheld = row.withheld();
        sums.withheld += withheld;
        sums.awaited += row.unpaid() - withheld;
    });
    return sums;
}

CareFacts CareRegister::sumsOfRow(SpecialityActs &acts) const
{
    CareFacts row;
    row.cost = cout_.asCents();
    row.cpam = montantCPAM_.asCents();
    row.mutual = montantMutuelle_.asCents();
    row.partial = mutuellePartielle_.holds(Vrai);
    if (row.partial)
        row.estimate = estimation_.asCents();
    row.cpamPaid = !dateCPAM_.isNull();
    row.cpamRefused = cpamOuiNon_.holds(Vrai);
    if (row.needsAct()) {
        row.date = dateSoins_.asDate();
        row.base = base_.asCents();
        row.act = acts.of(specialite_.asString());
    }
    return row;
}

void CareRegister::openStoredTotals()
{
    stored_.reset();
    try {
        stored_ = std::make_unique<StoredTotals>(table_.filePath(), buildProgress_);
    } catch (const DatabaseError &) {
        // Safe to ignore: a file that cannot keep its sums (read-only, full disk) is summed
        // row by row, with the same figures.
    }
}

bool CareRegister::checkStoredTotals()
{
    // Until every row is in (an early open), the stored sums are shown as they are.
    if (!stored_ || !table_.rowsComplete())
        return false;
    checkedLoad_ = table_.loadCount();
    // Sums that cannot be put right are not read: the walk gives the rows' own figures.
    if (table_.isReadOnly()) {
        stored_.reset();
        return true;
    }
    try {
        return stored_->agreeWith(cellsOfRows(), buildProgress_);
    } catch (const DatabaseError &) {
        stored_.reset();
        return true;
    }
}

void CareRegister::checkSumsOfLaterRows()
{
    if (!stored_ || !table_.isActive() || table_.loadCount() == checkedLoad_)
        return;
    // Sums put right (or given up for the rows' own): the totals shown change with them. An
    // entry being typed keeps its place: its post shows them.
    if (checkStoredTotals() && !table_.isEditing())
        TableTousAfterOpen();
}

TotalsCells CareRegister::cellsOfRows()
{
    TotalsCells cells;
    SpecialityActs acts;
    table_.forEachStoredRow([&] {
        const QDate date = dateSoins_.asDate();
        TotalsCell &cell =
            cells[{beneficiaire_.asString(), date.isValid() ? date.year() % 100 : -1}];
        const CareFacts row = sumsOfRow(acts);
        const qint64 withheld = row.withheld();
        ++cell.count;
        cell.cost += row.cost;
        cell.cpam += row.cpam;
        cell.mutual += row.mutual;
        cell.awaited += row.unpaid() - withheld;
        cell.withheld += withheld;
    });
    return cells;
}

RegisterTotals CareRegister::viewTotals()
{
    if (!stored_ || !table_.isActive())
        return sumView();
    // Moving to the first row posts a pending edit and takes in what another program wrote.
    if (table_.recordCount() > 0)
        table_.first();
    if (table_.loadCount() != checkedLoad_) {
        checkStoredTotals();
        if (!stored_)
            return sumView();
    }
    const bool filtered = table_.isFiltered();
    const CareFilterRule rule(selectors_.beneficiaryText(), selectors_.yearText());
    try {
        return stored_->sumsOf([&](const QString &beneficiary, int twoDigitYear) {
            return !filtered || rule.acceptsTwoDigitYear(beneficiary, twoDigitYear);
        });
    } catch (const DatabaseError &) {
        // The sums were taken away under the program: the rows are still right.
        stored_.reset();
        return sumView();
    }
}

void CareRegister::TableTousAfterOpen()
{
    bool failed = false;
    {
        const ControlsDisabled still(table_);
        const Bookmark mark = table_.bookmark();
        try {
            totals_ = viewTotals();
        } catch (const DatabaseError &) {
            failed = true;
        }
        // A view whose rows cannot be summed is left below for the widest one.
        if (!failed || recovering_) {
            try {
                table_.gotoBookmark(mark);
            } catch (const DatabaseError &) {
                // Safe to ignore: the scan leaves the table open and in browse mode, so this
                // fails only if the table was closed under it; the totals stand either way and
                // there is no row to return to.
            }
        }
    }
    if (failed && !recovering_) {
        recoverWithWiderView();
        return;
    }
    table_.cancel();
    Q_EMIT totalsChanged(totals_);
}

void CareRegister::recoverWithWiderView()
{
    const QScopedValueRollback recovering(recovering_, true);
    selectors_.selectFirstYear();
    table_.cancel();
    lstListeBeneficiairesClick();
}
