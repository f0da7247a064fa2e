#pragma once

#include <QTabWidget>

class CpamPage;
class ProofCorner;
class MutuellePage;
class SoinsPage;
class Table;

// The main window's entry pages `OngletsSaisie` ("Soins", "C.P.A.M.", "Mutuelle") over the
// current care entry, with the rules of their tabs and of the partial-reimbursement box, and
// the entry's proofs at the right of the tabs. Files dropped onto the pages are proofs to
// attach, never text for the field under the mouse.
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
    ProofCorner *cadrePieces;

Q_SIGNALS:
    // Files of the file manager dropped anywhere on the pages.
    void filesDropped(const QStringList &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ccMutuellePartielClick();
    void ccMutuellePartielToggledByUser(bool checked);

    Table &table_;
};
