#pragma once

class TFrmPrincipale;

// Fichier > "Importer un relevé bancaire...": the file chosen, read (the columns of a CSV
// asked when neither recognised nor remembered), its payments matched to the register, and
// the import window, which writes through the main window's own care table.
namespace StatementImport
{
void run(TFrmPrincipale &main);
} // namespace StatementImport
