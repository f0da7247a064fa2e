#pragma once

#include "RegisterTotals.h"
#include "TotalsCell.h"
#include "TotalsFill.h"

#include <QObject>
#include <QPointer>
#include <vector>

#include "CareViewFilter.h"

#include <memory>
#include <optional>

struct CareFacts;
class Field;
class SpecialityActs;
class StoredTotals;
class RegisterSelectors;
class Table;

// The rules of the care-entry table and of the register's view, bound to the main window's
// table component `TableTous`: the calculated rate and gap, the rules run before a post and
// before a delete, the per-row filter of the two selectors, and the totals recomputed after
// every open, post, delete and change of view.
class CareRegister : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers on `tableTous` (and removes them when it goes, unless the table went
    // first, as it may when both are children of one window); `selectors` must outlive it.
    CareRegister(Table &tableTous, RegisterSelectors &selectors, QObject *parent = nullptr);
    ~CareRegister() override;

    // Another table over the same file whose filter is switched together with the register's
    // (the care list report's); it keeps its own filter handler.
    void addFollower(Table &table);

    // Filter switching: the handler of both selectors.
    void lstListeBeneficiairesClick();
    // The totals over the rows in view, published through totalsChanged.
    void TableTousAfterOpen();

    Table &table() const { return table_; }
    const RegisterTotals &totals() const { return totals_; }
    // The totals of the view walked row by row: the way when the file cannot keep its sums.
    RegisterTotals sumView();
    // True while the totals are read from the sums kept in the file.
    bool usesStoredTotals() const { return stored_ != nullptr; }
    // Told how far a build of the sums kept in the file has read the rows while the table
    // opens (a file without them, or with sums that are wrong): the window shows it.
    void setSumsBuildProgress(TotalsFill::Progress progress)
    {
        buildProgress_ = std::move(progress);
    }

    // The C.P.A.M. rate in percent of `base`, none without a positive base: the calculated
    // "PourcentageCPAM", also shown while the amounts are being typed.
    static std::optional<double> cpamRate(std::optional<qint64> baseCents,
                                          std::optional<qint64> cpamCents);

    // The handlers, public so that their rules are tested one by one.
    void TableTousCalcFields(Table &table);
    void TableTousBeforePost(Table &table);
    void TableTousBeforeDelete(Table &table);
    bool TableTousFilterRecord(Table &table);

Q_SIGNALS:
    void totalsChanged(const RegisterTotals &totals);
    // The view changed: the window gives the focus to its navigator.
    void viewSwitched();

private:
    // Opens the sums kept in the table's file, installing them the first time (before the
    // table reads its rows), then checks them against the rows once the table has read them,
    // and again whenever it reads them anew (another program wrote to the file): whoever wrote
    // and however, the totals shown are those of the rows.
    void openStoredTotals();
    void checkSumsOfLaterRows();
    // True when the stored sums had to change (built again, or given up).
    bool checkStoredTotals();
    TotalsCells cellsOfRows();
    // The amounts of the row the fields read, with what it takes to tell what is withheld.
    CareFacts sumsOfRow(SpecialityActs &acts) const;
    RegisterTotals viewTotals();
    void recoverWithWiderView();

    Table &table_;
    QPointer<Table> tableAlive_;
    RegisterSelectors &selectors_;
    // The fields the rules read on every row, looked up once.
    Field &dateSoins_, &beneficiaire_, &specialite_, &cout_, &base_, &dateCPAM_, &montantCPAM_,
        &pourcentage_, &cpamOuiNon_, &montantMutuelle_, &mutuellePartielle_, &balance_,
        &estimation_;
    CareViewFilter filter_;
    std::vector<Table *> followers_;
    RegisterTotals totals_;
    std::unique_ptr<StoredTotals> stored_;
    TotalsFill::Progress buildProgress_;
    quint64 checkedLoad_ = 0; // the table's load the sums were last checked against
    bool recovering_ = false;
};
