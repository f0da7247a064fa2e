#pragma once

#include <initializer_list>

// Which column of a CSV statement holds what (columns 0 first, -1 for none), and where the
// table's rows start: recognised from the titles, remembered for a bank, or said by the person.
// Either one signed amount column, or a debit and a credit column (a debit is taken as money
// out whatever its sign).
struct CsvColumnChoice {
    int headerLine = 0;    // line of the column titles, 0 when the table has none
    int firstDataLine = 1; // first line of the table's rows
    int date = -1;
    int label = -1;
    int amount = -1;
    int debit = -1;
    int credit = -1;

    bool usesAmount() const { return amount >= 0; }
    bool isComplete() const
    {
        return date >= 0 && label >= 0 && (amount >= 0 || (debit >= 0 && credit >= 0));
    }
    // The number of columns a row needs to hold every column chosen.
    int width() const
    {
        int w = date;
        for (int c : {label, amount, debit, credit})
            w = c > w ? c : w;
        return w + 1;
    }

    bool operator==(const CsvColumnChoice &) const = default;
};
