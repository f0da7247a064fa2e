#include "InsuredPersonsBox.h"

#include "tables/InsuredTable.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

constexpr int gridHelpContext = 24;

QLabel *labelFor(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setObjectName(QStringLiteral("etq") + buddy->objectName().mid(5));
    label->setBuddy(buddy);
    return label;
}

} // namespace

InsuredPersonsBox::InsuredPersonsBox(Table &table, QWidget *parent)
    : CaptionBox(QStringLiteral("cadreAssures"), QStringLiteral("Liste des assurés sociaux"),
                 parent)
{
    using namespace InsuredFields;
    // Created in tab order; the grid comes last and is not a tab stop.
    DBchpNom = addEdit(table, QStringLiteral("DBchpNom"), Nom);
    DBchpNom->setCharCase(DBEdit::CharCase::Upper);
    DBchpPrenom = addEdit(table, QStringLiteral("DBchpPrenom"), Prenom);
    DBchpPrenom->setWordCapitals(true);
    DBchpNaissance = addEdit(table, QStringLiteral("DBchpNaissance"), Naissance);
    DBchpNumeroSS = addEdit(table, QStringLiteral("DBchpNumeroSS"), NumSS);
    DBchpDroits = addEdit(table, QStringLiteral("DBchpDroits"), Droits);
    DBchpAyantDr = new DBCheckBox(QStringLiteral(" Ayant droit"), content());
    DBchpAyantDr->setObjectName(QStringLiteral("DBchpAyantDr"));
    DBchpAyantDr->bind(table, AyantDr);
    navAssure = new DBNavigator(content());
    navAssure->setObjectName(QStringLiteral("navAssure"));
    navAssure->bind(table);
    DBGrilleAssure = new DBGrid(content());
    DBGrilleAssure->setObjectName(QStringLiteral("DBGrilleAssure"));
    DBGrilleAssure->setHelpContext(gridHelpContext);
    DBGrilleAssure->setFocusPolicy(Qt::ClickFocus);
    DBGrilleAssure->bind(table);
    DBGrilleAssure->setKeySearchField(QStringLiteral("Nom"));

    auto *fields = new QGridLayout;
    fields->setContentsMargins(0, 2, 0, 0);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(3);
    fields->addWidget(labelFor(QStringLiteral("Nom :"), DBchpNom), 0, 0);
    fields->addWidget(DBchpNom, 0, 1);
    fields->addWidget(labelFor(QStringLiteral("Prénom :"), DBchpPrenom), 1, 0);
    fields->addWidget(DBchpPrenom, 1, 1);
    fields->addWidget(labelFor(QStringLiteral("Né le :"), DBchpNaissance), 2, 0);
    fields->addWidget(DBchpNaissance, 2, 1, Qt::AlignLeft);
    fields->addWidget(labelFor(QStringLiteral("N° de S.S. :"), DBchpNumeroSS), 0, 2);
    fields->addWidget(DBchpNumeroSS, 0, 3);
    fields->addWidget(labelFor(QStringLiteral("Droits jusqu'au :"), DBchpDroits), 1, 2);
    fields->addWidget(DBchpDroits, 1, 3, Qt::AlignLeft);
    fields->addWidget(DBchpAyantDr, 2, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    const QFontMetrics metrics = DBchpNaissance->fontMetrics();
    const int dateWidth = std::max(metrics.horizontalAdvance(QStringLiteral("00/00/00")),
                                   metrics.horizontalAdvance(QStringLiteral("__/__/__"))) +
                          16;
    DBchpNaissance->setFixedWidth(dateWidth);
    DBchpDroits->setFixedWidth(dateWidth);

    auto *navRow = new QHBoxLayout;
    navRow->addWidget(navAssure);
    navRow->addStretch();
    auto *layout = new QVBoxLayout(content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(DBGrilleAssure, 1);
    layout->addLayout(navRow);
    layout->addLayout(fields);
}

DBEdit *InsuredPersonsBox::addEdit(Table &table, const QString &name, const QString &fieldName)
{
    auto *edit = new DBEdit(content());
    edit->setObjectName(name);
    edit->bind(table, fieldName);
    edits_.append(edit);
    return edit;
}

bool InsuredPersonsBox::isDataEdit(const QWidget *widget) const
{
    return std::any_of(edits_.begin(), edits_.end(),
                       [widget](const DBEdit *edit) { return edit == widget; });
}

void InsuredPersonsBox::setTableOpen(bool open)
{
    DBGrilleAssure->setEnabled(open);
    navAssure->setEnabled(open);
    DBchpAyantDr->setEnabled(open);
    for (DBEdit *edit : std::as_const(edits_))
        edit->setEnabled(open);
}
