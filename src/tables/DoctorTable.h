#pragma once

#include "platform/store/TableDefinition.h"

// The doctors' address book MEDECINS.DB, in alphabetical order of name, then first name.
namespace DoctorFields
{
inline const QString Nom = QStringLiteral("Nom");
inline const QString Prenom = QStringLiteral("Prenom");
inline const QString Specialite = QStringLiteral("Specialite");
inline const QString Ville = QStringLiteral("Ville");
inline const QString Adresse = QStringLiteral("Adresse");
inline const QString CodePostal = QStringLiteral("Code postale");
inline const QString Tel = QStringLiteral("Tel");
inline const QString Numero = QStringLiteral("Numero");
} // namespace DoctorFields

namespace DoctorTable
{

const TableDefinition &definition();
inline QString indexFieldNames()
{
    return QStringLiteral("Nom;Prenom;Numero");
}

} // namespace DoctorTable
