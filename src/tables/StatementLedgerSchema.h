#pragma once

#include "platform/store/SchemaObject.h"

#include <QString>

#include <vector>

// The two tables TALO.DB keeps for bank statements: the lines already applied (so a statement
// imported again is never applied twice) and the labels the family marked as a payer's. They
// sit here, with the care table's definition, so that every opener of TALO.DB knows them as
// the program's own.
namespace StatementLedgerSchema
{
inline const QString LinesTable = QStringLiteral("TALO_RELEVES");
inline const QString LabelsTable = QStringLiteral("TALO_LIBELLES");

// The CREATE statements as the file's schema keeps them.
QString linesCreateSql();
QString labelsCreateSql();
const std::vector<SchemaObject> &objects();
} // namespace StatementLedgerSchema
