#pragma once

#include "register/StatementLine.h"

#include <QWidget>

#include <vector>

class QTableView;
class QToolButton;

// The statement's credits from neither payer, left aside: one line with their count
// ("btnAutres", Space or a click), and under it on demand their list ("grilleAutres"), drawn
// through a model whatever their number. Hidden when there are none.
class OtherCreditsPanel : public QWidget
{
    Q_OBJECT

public:
    // `credits` outlives the panel.
    OtherCreditsPanel(const std::vector<StatementLine> &credits, QWidget *parent = nullptr);

    // Its two controls in tab order, for the window's chain.
    QWidget *firstInTabOrder() const;
    QWidget *lastInTabOrder() const;

private:
    QToolButton *btnAutres = nullptr;
    QTableView *grilleAutres = nullptr;
};
