#pragma once

#include <QDate>
#include <QString>

// One line of a bank statement as the statement readers hand it to the matching rules: a
// credit or a debit, in cents (a credit is positive), with the bank's label and, when the
// file carries one, the bank's own identifier of the transaction (OFX FITID).
struct StatementLine {
    QDate date;
    qint64 cents = 0;
    QString label;
    QString bankId;
    int sourceLine = 0; // line of the file (a CSV row, an OFX transaction's opening tag)

    bool isCredit() const { return cents > 0; }
};
