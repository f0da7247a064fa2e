#include "ConversionMessages.h"

#include <QDir>

namespace ConversionMessages
{

QString offer(const QStringList &tableFiles)
{
    return QStringLiteral("%1 au format Paradox : %2.\n\nTalo 3.0 peut %3 dans son propre "
                          "format. Les fichiers Paradox seront d'abord rangés, intacts, dans le "
                          "dossier « %4 » du dossier du programme.\n\nConvertir maintenant ?")
        .arg(tableFiles.size() > 1 ? QStringLiteral("Ces tables sont")
                                   : QStringLiteral("Cette table est"),
             tableFiles.join(QStringLiteral(", ")),
             tableFiles.size() > 1 ? QStringLiteral("les convertir")
                                   : QStringLiteral("la convertir"),
             archiveFolderName());
}

QString archiveFolderName()
{
    return QStringLiteral("Tables Paradox");
}

QString cannotRead(const QString &reason)
{
    return QStringLiteral("La table Paradox ne peut pas être lue : %1").arg(reason);
}

QString noMemory()
{
    return QStringLiteral("mémoire insuffisante.");
}

QString badHeader()
{
    return QStringLiteral("son en-tête est endommagé.");
}

QString truncated()
{
    return QStringLiteral("le fichier est tronqué (plus court que ce qu'annonce son en-tête).");
}

QString badRecord(int index)
{
    return QStringLiteral("l'enregistrement n° %1 est endommagé.").arg(index + 1);
}

QString cannotCopy(const QString &file, const QString &folder, const QString &reason)
{
    return QStringLiteral("Le fichier %1 ne peut pas être copié dans le dossier %2 : %3")
        .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(folder), reason);
}

QString originalUnreadable()
{
    return QStringLiteral("il ne peut pas être lu.");
}

QString archiveNotCreated(const QString &folder)
{
    return QStringLiteral("Le dossier %1 ne peut pas être créé. Aucune table n'a été convertie ; "
                          "les fichiers sont restés à leur place et la conversion sera proposée "
                          "de nouveau au prochain démarrage.")
        .arg(QDir::toNativeSeparators(folder));
}

QString tableInTheWay(const QString &path)
{
    return QStringLiteral("un fichier %1 est apparu entre-temps ; il est laissé tel quel.")
        .arg(QDir::toNativeSeparators(path));
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("La table %1 ne peut pas être écrite : %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString requiredEmpty(const QString &field)
{
    return QStringLiteral("le champ « %1 » est vide").arg(field);
}

QString textTooLong(const QString &field, int length, int size)
{
    return QStringLiteral("le champ « %1 » a %2 caractères, %3 au plus")
        .arg(field)
        .arg(length)
        .arg(size);
}

QString badDate(const QString &field)
{
    return QStringLiteral("la date du champ « %1 » n'est pas valable").arg(field);
}

QString badAmount(const QString &field)
{
    return QStringLiteral("le montant du champ « %1 » n'est pas valable").arg(field);
}

QString memoUnreadable(const QString &field)
{
    return QStringLiteral("le mémo « %1 » est illisible (fichier .MB absent ou endommagé)")
        .arg(field);
}

QString fieldNotCarried(const QString &field)
{
    return QStringLiteral("« %1 » (inconnu de Talo 3.0)").arg(field);
}

QString fieldOfUnknownKind(const QString &field)
{
    return QStringLiteral("« %1 » (type de champ non pris en charge)").arg(field);
}

QString convertedRows(const QString &tableFile, int count)
{
    return QStringLiteral("%1 : %2 enregistrement(s) converti(s).").arg(tableFile).arg(count);
}

QString rowsLeftOut(int count)
{
    return QStringLiteral("%1 enregistrement(s) n'ont pas pu l'être :").arg(count);
}

QString rowLeftOut(int number, const QString &description, const QString &reason)
{
    return description.isEmpty()
               ? QStringLiteral("  - n° %1 : %2").arg(number).arg(reason)
               : QStringLiteral("  - n° %1 (%2) : %3").arg(number).arg(description, reason);
}

QString moreRowsLeftOut(int count)
{
    return QStringLiteral("  - et %1 autre(s).").arg(count);
}

QString fieldsNotCarried(const QStringList &fields)
{
    return QStringLiteral("Champs non repris : %1.").arg(fields.join(QStringLiteral(", ")));
}

QString tableNotConverted(const QString &tableFile, const QString &reason)
{
    // The reason is a sentence of its own.
    QString sentence = reason;
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    return QStringLiteral("%1 n'a pas été convertie. %2 Ses fichiers sont restés tels quels ; la "
                          "conversion sera proposée de nouveau au prochain démarrage.")
        .arg(tableFile, sentence);
}

QString originalsKept(const QString &folder)
{
    return QStringLiteral("Les fichiers Paradox d'origine sont conservés dans le dossier %1.")
        .arg(QDir::toNativeSeparators(folder));
}

QString readerSilent(int seconds)
{
    return QStringLiteral("sa lecture ne progresse plus depuis %1 secondes ; le fichier est "
                          "endommagé ou fait pour bloquer la lecture.")
        .arg(seconds);
}

QString readerStopped()
{
    return QStringLiteral("sa lecture s'est interrompue net ; le fichier est endommagé.");
}

QString readerGarbled()
{
    return QStringLiteral("sa lecture a donné un résultat incohérent ; le fichier est endommagé.");
}

QString readerNotStarted()
{
    return QStringLiteral("le programme de lecture ne peut pas être lancé.");
}

QString cancelled()
{
    return QStringLiteral("la conversion a été annulée.");
}

QString progressTitle()
{
    return QStringLiteral("Conversion des tables Paradox");
}

QString progressReading(const QString &tableFile)
{
    return QStringLiteral("Lecture de la table %1...").arg(tableFile);
}

QString progressRows(const QString &tableFile, int read, int total)
{
    return QStringLiteral("Lecture de la table %1 : %2 enregistrement(s) sur %3...")
        .arg(tableFile)
        .arg(read)
        .arg(total);
}

QString progressWriting(const QString &tableFile)
{
    return QStringLiteral("Écriture de la table %1...").arg(tableFile);
}

QString unexpectedFailure()
{
    return QStringLiteral("La conversion s'est arrêtée sur une erreur imprévue. Chaque table est "
                          "restée telle qu'elle était ou a été convertie entière ; la conversion "
                          "des autres sera proposée de nouveau au prochain démarrage.");
}

} // namespace ConversionMessages
