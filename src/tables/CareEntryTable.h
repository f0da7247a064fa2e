#pragma once

#include "platform/store/TableDefinition.h"

// The care-entry table TALO.DB: one row per medical act paid, with the reimbursements expected
// or received. Field names are the file's own and are used everywhere by these constants.
namespace CareFields
{
inline const QString DateSoins = QStringLiteral("Date soins");
inline const QString Beneficiaire = QStringLiteral("Beneficiaire");
inline const QString Medecin = QStringLiteral("Medecin");
inline const QString Specialite = QStringLiteral("Specialite");
inline const QString Paiement = QStringLiteral("Paiement");
inline const QString Cout = QStringLiteral("Cout");
inline const QString NoteSoins = QStringLiteral("Note soins");
inline const QString DateCPAM = QStringLiteral("Date CPAM");
inline const QString Base = QStringLiteral("Base");
inline const QString MontantCPAM = QStringLiteral("Montant CPAM");
inline const QString PourcentageCPAM = QStringLiteral("PourcentageCPAM");
inline const QString NoteCPAM = QStringLiteral("Note CPAM");
inline const QString CPAMOuiNon = QStringLiteral("CPAM oui/non");
inline const QString DateMutuelle = QStringLiteral("Date mutuelle");
inline const QString MontantMutuelle = QStringLiteral("Montant mutuelle");
inline const QString NoteMutuelle = QStringLiteral("Note mutuelle");
inline const QString MutuelleOuiNon = QStringLiteral("Mutuelle oui/non");
inline const QString Balance = QStringLiteral("Balance");
inline const QString Estimation = QStringLiteral("Estimation");
inline const QString Numero = QStringLiteral("Numero");

// The words of the yes/no flags.
inline const QString Vrai = QStringLiteral("Vrai");
inline const QString Faux = QStringLiteral("Faux");
} // namespace CareFields

namespace CareEntryTable
{

// The SQL table inside TALO.DB.
inline const QString SqlName = QStringLiteral("TALO");

// The fields, and every other object the program keeps in the file: the register's sums
// (TotalsSchema). An object found in the file and not declared here is foreign, and the file
// refused (ForeignObjects): a table the program adds to TALO.DB is declared here.
const TableDefinition &definition();
// The order of the register: by care date, then beneficiary, then entry number.
QString indexFieldNames();

} // namespace CareEntryTable
