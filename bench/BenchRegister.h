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
};
