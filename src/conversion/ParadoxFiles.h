#pragma once

#include <QString>
#include <QStringList>

// The files of Paradox tables in a folder and their safe keeping: a table is its .DB file
// with the memo file (.MB), the indexes (.PX, .Xnn, .Ynn, .XGn, .YGn) and the validity and
// form files (.VAL, .TV, .FAM) of the same name.
class ParadoxFiles
{
public:
    // The names of the table's files in `folder`, matched without regard to case.
    static QStringList ofTable(const QString &folder, const QString &tableFile);

    // The file of `names` with that suffix ("MB"), or an empty string.
    static QString withSuffix(const QStringList &names, const QString &suffix);
};
