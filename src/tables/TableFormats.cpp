#include "TableFormats.h"

namespace
{

// Version 1 only numbers the file: the tables are those of the files made before it.
std::vector<FormatVersion> numbered(const QString &tableSql)
{
    return {{tableSql, {}}, {tableSql, {}}};
}

} // namespace

std::vector<FormatVersion> TableFormats::careEntries()
{
    return numbered(QStringLiteral(
        "CREATE TABLE \"TALO\" (\"Date soins\" TEXT, \"Beneficiaire\" TEXT, \"Medecin\" TEXT, "
        "\"Specialite\" TEXT, \"Paiement\" TEXT, \"Cout\" REAL, \"Note soins\" TEXT, "
        "\"Date CPAM\" TEXT, \"Base\" REAL, \"Montant CPAM\" REAL, \"Note CPAM\" TEXT, "
        "\"CPAM oui/non\" TEXT, \"Date mutuelle\" TEXT, \"Montant mutuelle\" REAL, "
        "\"Note mutuelle\" TEXT, \"Mutuelle oui/non\" TEXT, \"Estimation\" REAL, "
        "\"Numero\" INTEGER PRIMARY KEY)"));
}

std::vector<FormatVersion> TableFormats::doctors()
{
    return numbered(QStringLiteral(
        "CREATE TABLE \"MEDECINS\" (\"Nom\" TEXT, \"Prenom\" TEXT, \"Specialite\" TEXT, "
        "\"Ville\" TEXT, \"Adresse\" TEXT, \"Code postale\" TEXT, \"Tel\" TEXT, "
        "\"Numero\" INTEGER PRIMARY KEY)"));
}

std::vector<FormatVersion> TableFormats::insured()
{
    return numbered(QStringLiteral(
        "CREATE TABLE \"ASSURE\" (\"Nom\" TEXT, \"Prenom\" TEXT, \"Naissance\" TEXT, "
        "\"NumSS\" TEXT, \"Droits\" TEXT, \"AyantDr\" TEXT, \"Numero\" INTEGER PRIMARY KEY)"));
}
