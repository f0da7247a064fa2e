#pragma once

#include "CaptionBox.h"

class DBCheckBox;
class DBEdit;
class DBGrid;
class DBNavigator;
class Table;

// The box of the insured persons in the insurance window: the grid at the top, the navigator
// under it, then the current person's fields in two columns (name, first name, birth date on the
// left; national insurance number, rights and the dependant box on the right), in tab order.
class InsuredPersonsBox : public CaptionBox
{
    Q_OBJECT

public:
    InsuredPersonsBox(Table &table, QWidget *parent);

    // A bound edit of the box (not the check box).
    bool isDataEdit(const QWidget *widget) const;
    // Without an open table the box has nothing to show or take.
    void setTableOpen(bool open);

    DBGrid *DBGrilleAssure;
    DBNavigator *navAssure;
    DBEdit *DBchpNom;
    DBEdit *DBchpPrenom;
    DBEdit *DBchpNaissance;
    DBEdit *DBchpNumeroSS;
    DBEdit *DBchpDroits;
    DBCheckBox *DBchpAyantDr;

private:
    DBEdit *addEdit(Table &table, const QString &name, const QString &fieldName);

    QList<DBEdit *> edits_;
};
