#include "ProofLinkSchema.h"

QString ProofLinkSchema::tableCreateSql()
{
    return QStringLiteral("CREATE TABLE \"TALO_PIECES\" (\"Id\" INTEGER PRIMARY KEY, "
                          "\"Numero\" INTEGER NOT NULL, \"Fichier\" TEXT NOT NULL, "
                          "\"Nom\" TEXT NOT NULL, \"Ajoute\" TEXT NOT NULL, "
                          "\"Taille\" INTEGER NOT NULL, \"Empreinte\" TEXT NOT NULL)");
}

QString ProofLinkSchema::indexCreateSql()
{
    return QStringLiteral("CREATE INDEX \"TALO_PIECES_NUMERO\" ON \"TALO_PIECES\" (\"Numero\")");
}

QString ProofLinkSchema::triggerCreateSql()
{
    return QStringLiteral("CREATE TRIGGER \"TALO_PIECES_SUPPRESSION\" AFTER DELETE ON \"TALO\" "
                          "BEGIN DELETE FROM \"TALO_PIECES\" WHERE \"Numero\" = OLD.\"Numero\"; "
                          "END");
}

const std::vector<SchemaObject> &ProofLinkSchema::objects()
{
    static const std::vector<SchemaObject> all{
        {QStringLiteral("table"), Table, tableCreateSql()},
        {QStringLiteral("index"), Index, indexCreateSql()},
        {QStringLiteral("trigger"), Trigger, triggerCreateSql()},
    };
    return all;
}
