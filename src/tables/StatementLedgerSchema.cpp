#include "StatementLedgerSchema.h"

QString StatementLedgerSchema::linesCreateSql()
{
    return QStringLiteral(
        "CREATE TABLE \"TALO_RELEVES\" (\"Cle\" TEXT PRIMARY KEY NOT NULL, "
        "\"Ligne\" TEXT NOT NULL, \"Identifiant banque\" TEXT NOT NULL, \"Date\" TEXT NOT NULL, "
        "\"Centimes\" INTEGER NOT NULL, \"Libelle\" TEXT NOT NULL, \"Payeur\" TEXT NOT NULL, "
        "\"Soins\" TEXT NOT NULL, \"Applique le\" TEXT NOT NULL)");
}

QString StatementLedgerSchema::labelsCreateSql()
{
    return QStringLiteral("CREATE TABLE \"TALO_LIBELLES\" (\"Mots\" TEXT PRIMARY "
                          "KEY NOT NULL, \"Payeur\" TEXT NOT NULL, \"Appris le\" TEXT NOT NULL)");
}

const std::vector<SchemaObject> &StatementLedgerSchema::objects()
{
    static const std::vector<SchemaObject> all{
        {QStringLiteral("table"), LinesTable, linesCreateSql()},
        {QStringLiteral("table"), LabelsTable, labelsCreateSql()},
    };
    return all;
}
