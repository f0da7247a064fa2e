#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The view (the texts of the year and beneficiary selectors) in which to show an entry found
// outside the main window's view: the current one when it holds the entry; otherwise only
// what hides the entry changes, to the entry's own year or beneficiary when the selector
// lists it, else to all years ("TOUTES") or all beneficiaries ("TOUS").
class CareViewChoice
{
public:
    struct View {
        QString year;
        QString beneficiary;
        bool operator==(const View &) const = default;
    };

    static View holding(const View &current, const QDate &careDate, const QString &beneficiary,
                        const QStringList &yearItems, const QStringList &beneficiaryItems);
    static bool holds(const View &view, const QDate &careDate, const QString &beneficiary);
};
