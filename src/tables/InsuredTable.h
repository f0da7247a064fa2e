#pragma once

#include "platform/store/TableDefinition.h"

// The insured persons ASSURE.DB, in alphabetical order of name, then first name.
namespace InsuredFields
{
inline const QString Nom = QStringLiteral("Nom");
inline const QString Prenom = QStringLiteral("Prenom");
inline const QString Naissance = QStringLiteral("Naissance");
inline const QString NumSS = QStringLiteral("NumSS");
inline const QString Droits = QStringLiteral("Droits");
inline const QString AyantDr = QStringLiteral("AyantDr");
inline const QString Numero = QStringLiteral("Numero");
} // namespace InsuredFields

namespace InsuredTable
{

const TableDefinition &definition();
inline QString indexFieldNames()
{
    return QStringLiteral("Nom;Prenom;Numero");
}

} // namespace InsuredTable
