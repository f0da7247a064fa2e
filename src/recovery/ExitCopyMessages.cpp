#include "ExitCopyMessages.h"

#include "platform/core/FileNames.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QFileInfo>

namespace
{

QString shortDate(const QDate &day)
{
    return day.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

QStringList ExitCopyMessages::notSaved(const QString &programDir, bool sideFilesWritten)
{
    QStringList clauses;
    if (!sideFilesWritten)
        clauses.append(QStringLiteral("les fichiers LSTBENEF.LST, talosoc.inf et mutuelle.inf "
                                      "n'ont pas tous pu être enregistrés"));
    for (const TableDefinition *table :
         {&CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()}) {
        if (!QFileInfo(FileNames::resolve(programDir, table->fileName())).isFile())
            clauses.append(QStringLiteral("le fichier %1 est introuvable").arg(table->fileName()));
    }
    return clauses;
}

QString ExitCopyMessages::failure(const QString &reason, const QStringList &notSaved,
                                  const QString &clockWarning)
{
    QString text =
        QStringLiteral("La copie de sauvegarde automatique n'a pas pu être faite :\n\n%1\n\n")
            .arg(reason);
    if (notSaved.isEmpty())
        text += QStringLiteral("Talo 3.0 se ferme quand même ; vos données sont enregistrées "
                               "dans son dossier.");
    else
        text += QStringLiteral("Talo 3.0 se ferme quand même, mais toutes vos données ne sont "
                               "pas enregistrées dans son dossier : %1.")
                    .arg(notSaved.join(QStringLiteral(" ; ")));
    if (!clockWarning.isEmpty())
        text += QStringLiteral("\n\n") + clockWarning;
    return text;
}

QString ExitCopyMessages::clockBehind(const QDate &today, const QDate &copyDay)
{
    return QStringLiteral("L'ordinateur est au %1, avant la copie automatique datée du %2 : "
                          "vérifiez la date et l'heure de l'ordinateur.")
        .arg(shortDate(today), shortDate(copyDay));
}

QString ExitCopyMessages::madeWithClockBehind(const QString &clockWarning)
{
    return QStringLiteral("La copie de sauvegarde automatique est faite.\n\n") + clockWarning;
}
