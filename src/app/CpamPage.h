#pragma once

#include <QWidget>

#include <optional>

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

private:
    // The amount `edit` holds: as typed when the user changed it, else its field's value.
    // Throws ParseError for typed text that is not an amount.
    std::optional<qint64> amountShown(const DBEdit &edit, const QString &fieldName) const;
    // The rate of the amounts as typed so far, shown in DBchpPourcentage.
    void showTypedRate();

    Table &table_;
};
