#include "OtherCreditsPanel.h"

#include "ImportCells.h"
#include "OtherCreditsModel.h"

#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

OtherCreditsPanel::OtherCreditsPanel(const std::vector<StatementLine> &credits, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("autresCredits"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    btnAutres = new QToolButton(this);
    btnAutres->setObjectName(QStringLiteral("btnAutres"));
    btnAutres->setText(
        QStringLiteral("Autres crédits, laissés de côté : %1 (cliquer ou Espace pour les voir)")
            .arg(credits.size()));
    btnAutres->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnAutres->setArrowType(Qt::RightArrow);
    btnAutres->setCheckable(true);
    btnAutres->setAutoRaise(true);
    grilleAutres = new QTableView(this);
    grilleAutres->setObjectName(QStringLiteral("grilleAutres"));
    grilleAutres->setAccessibleName(QStringLiteral("Autres crédits"));
    ImportCells::setUpList(*grilleAutres, new OtherCreditsModel(credits, this));
    grilleAutres->hide();
    connect(btnAutres, &QToolButton::toggled, this, [this](bool shown) {
        btnAutres->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
        grilleAutres->setVisible(shown);
        if (shown)
            grilleAutres->resizeColumnsToContents();
    });
    layout->addWidget(btnAutres);
    layout->addWidget(grilleAutres);
    setVisible(!credits.empty());
}

QWidget *OtherCreditsPanel::firstInTabOrder() const
{
    return btnAutres;
}

QWidget *OtherCreditsPanel::lastInTabOrder() const
{
    return grilleAutres;
}
