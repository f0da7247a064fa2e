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

    // Moves `names` from `folder` into its sub-folder "Tables Paradox" (or "Tables Paradox
    // (2)"... when an earlier conversion left files of those names there), and returns the
    // folder they went to. All or none: on failure the ones moved go back, and
    // ConversionError says what happened.
    static QString moveAside(const QString &folder, const QStringList &names);

    // The file of `names` with that suffix ("MB"), or an empty string.
    static QString withSuffix(const QStringList &names, const QString &suffix);
};
