#pragma once

#include <QWidget>

class DBCheckBox;
class DBEdit;
class DBMemo;
class Table;

// The entry page "C.P.A.M.": the national insurance's reimbursement of the care entry.
class CpamPage : public QWidget
{
    Q_OBJECT

public:
    explicit CpamPage(Table &tableTous, QWidget *parent = nullptr);

    DBEdit *DBchpDateCPAM;
    DBEdit *DBchpBase;
    DBEdit *DBchpMontantCPAM;
    DBEdit *DBchpPourcentage;
    DBMemo *DBMemoCPAM;
    DBCheckBox *ccPasCPAM;
};
