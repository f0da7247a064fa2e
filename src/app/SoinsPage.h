#pragma once

#include <QWidget>

class DBCheckBox;
class DBComboBox;
class DBEdit;
class DBMemo;
class QGroupBox;
class Table;

// The entry page "Soins": the care act itself, its cost and the partial-reimbursement box.
class SoinsPage : public QWidget
{
    Q_OBJECT

public:
    explicit SoinsPage(Table &tableTous, QWidget *parent = nullptr);

    DBEdit *DBDateSoins;
    DBEdit *DBBeneficiaire;
    DBEdit *DBPraticien;
    DBEdit *DBSpecialite;
    DBComboBox *DBPaiement;
    DBEdit *DBCout;
    QGroupBox *cadreEstimation;
    DBCheckBox *ccMutuellePartiel;
    DBEdit *DBchpEstimation;
    DBMemo *DBMemoSoins;
};
