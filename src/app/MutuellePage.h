#pragma once

#include <QWidget>

class DBEdit;
class DBMemo;
class Table;

// The entry page "Mutuelle": the mutual insurer's reimbursement of the care entry.
class MutuellePage : public QWidget
{
    Q_OBJECT

public:
    explicit MutuellePage(Table &tableTous, QWidget *parent = nullptr);

    DBEdit *DBchpDateMutuelle;
    DBEdit *DBchpMontantMutuelle;
    DBMemo *DBMemoMutuelle;
};
