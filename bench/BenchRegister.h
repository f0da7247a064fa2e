#pragma once

#include <QString>

// One benchmark run over a register of a given size, printed as one table row.
class BenchRegister
{
public:
    static void printHeader();
    static void run(int rows);
    // Writes `rows` care entries straight into an empty TALO.DB (one transaction).
    static void fill(const QString &path, int rows);
    // A program directory holding `rows` entries, made once and reused by later runs (a large
    // register takes long to write): under the temporary folder, named after its size.
    static QString cachedProgramDirectory(int rows);
    // The floor: every column of every row of TALO.DB read with SQLite alone, in milliseconds.
    static double sqliteReadMillis(const QString &path);
    static double peakMegabytes();
};
