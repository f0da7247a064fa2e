#pragma once

#include "CaptionBox.h"

class QGridLayout;
class QLineEdit;

// A box of insurer details: one row per value, its label and to the right of it a single-line
// edit drawn without a border so that the value reads like text on the box. Rows are added in
// tab order.
class DetailsBox : public CaptionBox
{
    Q_OBJECT

public:
    DetailsBox(const QString &name, const QString &caption, QWidget *parent);

    QLineEdit *addRow(const QString &editName, const QString &label);
    const QList<QLineEdit *> &edits() const { return edits_; }

private:
    QGridLayout *rows_;
    QList<QLineEdit *> edits_;
};
