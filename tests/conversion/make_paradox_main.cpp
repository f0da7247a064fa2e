// Writes a small Paradox TALO.DB (with its TALO.MB) into the folder given, for the end-to-end
// scenario of the conversion: accents, a memo longer than the record keeps, empty fields.
#include "ParadoxTableMaker.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: talo-make-paradox FOLDER");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QString memo;
    while (memo.size() < 260)
        memo += QStringLiteral("Séance de rééducation, reçu n° 12 ; ");
    const QVariant empty;
    ParadoxTableMaker::write(
        folder.filePath("TALO.DB"), folder.filePath("TALO.MB"),
        ParadoxTableMaker::careEntryFields(),
        {{QDate(2024, 3, 2), "HÉLÈNE", "ŒDIPE", "Kinésithérapeute", "Chèque", 25.5, memo,
          QDate(2024, 3, 20), 25.5, 15.3, empty, "Faux", empty, empty, empty, "Faux", empty, 1LL},
         {QDate(2023, 1, 15), "PAUL", "MARTIN", empty, "Espèces", 40.0, empty, empty, empty, empty,
          empty, "Faux", empty, empty, empty, "Faux", empty, 2LL}});
    return 0;
}
