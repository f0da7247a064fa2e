#pragma once

#include "statements/StatementFile.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The first lines of a CSV statement whose columns were not recognised, and the person's say
// of which column holds the date, the label and the amount (or the debit and the credit), and
// where the operations start. OK stays disabled until the choice is complete.
class CsvColumnDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PreviewRows = 12;

    explicit CsvColumnDialog(const StatementFile &file, QWidget *parent = nullptr);

    CsvColumnChoice choice() const;

private:
    QComboBox *column(const QString &label, const char *name, class QFormLayout *form);
    void refresh();

    const CsvTable &table_;
    QComboBox *lstDate = nullptr, *lstLibelle = nullptr, *lstMontant = nullptr, *lstDebit = nullptr,
              *lstCredit = nullptr;
    QSpinBox *edtDebut = nullptr;
    QLabel *etqEtat = nullptr;
    QPushButton *btnOk = nullptr;
};
