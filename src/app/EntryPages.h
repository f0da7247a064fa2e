#pragma once

#include <QTabWidget>

class CpamPage;
class MutuellePage;
class SoinsPage;
class Table;

// The main window's entry pages `OngletsSaisie` ("Soins", "C.P.A.M.", "Mutuelle") over the
// current care entry, with the rules of their tabs and of the partial-reimbursement box.
class EntryPages : public QTabWidget
{
    Q_OBJECT

public:
    EntryPages(Table &tableTous, QWidget *parent = nullptr);

    // Page "Soins" in front, the caret in its date field.
    void showCareDate();
    // OngletsSaisieClick: the page of that tab in front, the caret in its date field.
    void OngletsSaisieClick(int page);

    SoinsPage *pageSoins;
    CpamPage *pageCPAM;
    MutuellePage *pageMutuelle;

private:
    void ccMutuellePartielClick();
    void ccMutuellePartielToggledByUser(bool checked);

    Table &table_;
};
