#pragma once

#include <QString>
#include <QStringList>

// The words of a bank label or of a name as the payer rules compare them: capitals without
// accents, punctuation and digits as blanks ("CPAM75" gives "CPAM", "AMELI.FR" "AMELI FR"),
// initials written apart joined ("C.P.A.M." gives "CPAM").
namespace LabelWords
{
QStringList of(const QString &text);
// The words that tell a payer's label from another, kept to recognise it next time: without
// transfer vocabulary ("VIR", "SEPA", "REMBOURSEMENT"...), references with digits and single
// letters. Empty when nothing distinctive is left.
QStringList distinctive(const QString &label);
// The label as the ledger compares two imports of one line: blanks simplified, capitals.
QString comparable(const QString &label);
} // namespace LabelWords
