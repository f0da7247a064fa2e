#include "MainChrome.h"

#include "StatusPanel.h"
#include "TFrmPrincipale.h"

#include "platform/core/Today.h"
#include "platform/widgets/Glyphs.h"
#include "platform/widgets/ReadableText.h"
#include "register/RegisterTotals.h"
#include "register/YearItems.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

namespace
{

QAction *action(TFrmPrincipale &window, const char *name, const QString &text,
                void (TFrmPrincipale::*handler)())
{
    auto *a = new QAction(text, &window);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, &window, [&window, handler] { (window.*handler)(); });
    return a;
}

QAction *printAction(TFrmPrincipale &window, const char *name, const QString &text,
                     ReportCommand::Output output)
{
    auto *a = new QAction(text, &window);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, &window,
                     [&window, output] { window.btnImprimerClick(output); });
    return a;
}

constexpr int PanelSpacing = 2;

} // namespace

void MainChrome::buildMenu(TFrmPrincipale &window)
{
    QMenuBar *bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MenuPrincipal"));
    QMenu *file = bar->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFichier"));
    file->addAction(printAction(window, "mnuApercu", QStringLiteral("&Aperçu"),
                                ReportCommand::Output::Preview));
    file->addAction(printAction(window, "mnuImprimer", QStringLiteral("&Imprimer..."),
                                ReportCommand::Output::Printer));
    file->addAction(action(window, "mnuPasse", QStringLiteral("&Mot de passe..."),
                           &TFrmPrincipale::mnuPasseClick));
    file->addAction(action(window, "mnuSauvegarder", QStringLiteral("&Copie de sauvegarde..."),
                           &TFrmPrincipale::btnSauvegarderClick));
    file->addAction(action(window, "mnuExporter", QStringLiteral("&Exporter..."),
                           &TFrmPrincipale::mnuExporterClick));
    file->addAction(action(window, "mnuRestaurer",
                           QStringLiteral("&Restaurer une copie de sauvegarde..."),
                           &TFrmPrincipale::mnuRestaurerClick));
    file->addAction(action(window, "mnuImporterReleve",
                           QStringLiteral("Importer un relevé &bancaire..."),
                           &TFrmPrincipale::mnuImporterReleveClick));
    file->addSeparator();
    QAction *attach = action(window, "mnuJoindre", QStringLiteral("&Joindre des pièces..."),
                             &TFrmPrincipale::mnuJoindreClick);
    attach->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    file->addAction(attach);
    QAction *proofs = action(window, "mnuPieces", QStringLiteral("&Pièces jointes..."),
                             &TFrmPrincipale::mnuPiecesClick);
    proofs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J));
    file->addAction(proofs);
    file->addAction(action(window, "mnuDossier", QStringLiteral("&Dossier pour la mutuelle..."),
                           &TFrmPrincipale::mnuDossierClick));
    file->addSeparator();
    file->addAction(
        action(window, "mnuQuitter", QStringLiteral("&Quitter"), &TFrmPrincipale::BtnQuitterClick));
    QMenu *view = bar->addMenu(QStringLiteral("&Voir"));
    view->setObjectName(QStringLiteral("mnuVoir"));
    view->addAction(action(window, "mnuInformations", QStringLiteral("&Informations"),
                           &TFrmPrincipale::btnInformationsClick));
    view->addAction(action(window, "mnuMedecins", QStringLiteral("&Carnet d'adresses"),
                           &TFrmPrincipale::BtnMedecinsClick));
    view->addAction(action(window, "mnuBeneficiaires", QStringLiteral("&Liste des bénéficiaires"),
                           &TFrmPrincipale::btnListeBenefClick));
    view->addSeparator();
    view->addAction(action(window, "mnuSuivi", QStringLiteral("&Suivi des remboursements..."),
                           &TFrmPrincipale::mnuSuiviClick));
    view->addAction(action(window, "mnuBilan", QStringLiteral("&Bilan annuel..."),
                           &TFrmPrincipale::mnuBilanClick));
    view->addSeparator();
    QAction *search = action(window, "mnuRechercher", QStringLiteral("&Rechercher..."),
                             &TFrmPrincipale::mnuRechercherClick);
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    view->addAction(search);
    QMenu *help = bar->addMenu(QStringLiteral("&Aide"));
    help->setObjectName(QStringLiteral("mnuAideMenu"));
    help->addAction(
        action(window, "mnuAide", QStringLiteral("&Aide"), &TFrmPrincipale::btnAideClick));
    help->addAction(action(window, "mnuApropos", QStringLiteral("A &propos..."),
                           &TFrmPrincipale::mnuAproposClick));

    // F10 opens the first menu, as on the other desktop programs; the arrows go on from there.
    auto *f10 = new QAction(&window);
    f10->setObjectName(QStringLiteral("actMenuF10"));
    f10->setShortcut(Qt::Key_F10);
    f10->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(f10, &QAction::triggered, bar,
                     [bar, file] { bar->setActiveAction(file->menuAction()); });
    window.addAction(f10);
}

QWidget *MainChrome::buildToolBar(TFrmPrincipale &window, QLabel *&awaited)
{
    auto *bar = new QFrame(&window);
    bar->setObjectName(QStringLiteral("BarreIcones"));
    bar->setFixedHeight(33);
    bar->setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(1);
    // The hint is also the button's accessible name; the description says what it opens.
    struct Button {
        const char *name;
        Glyphs::Id glyph;
        const char *hint;
        const char *description;
        QAction *command;
    };
    const Button buttons[] = {
        {"btnInformations", Glyphs::Id::Informations, "Informations générales",
         "Ouvre les coordonnées de la caisse, de la mutuelle et des assurés",
         action(window, "actInformations", {}, &TFrmPrincipale::btnInformationsClick)},
        {"BtnMedecins", Glyphs::Id::Doctors, "Carnet d'adresses médicales",
         "Ouvre le carnet d'adresses des médecins",
         action(window, "actMedecins", {}, &TFrmPrincipale::BtnMedecinsClick)},
        {"btnListeBenef", Glyphs::Id::BeneficiaryList, "Liste des bénéficiaires",
         "Ouvre la liste des noms proposés dans le choix du bénéficiaire",
         action(window, "actListeBenef", {}, &TFrmPrincipale::btnListeBenefClick)},
        {"btnApercu", Glyphs::Id::Preview, "Aperçu document",
         "Affiche l'aperçu de la liste des soins affichés",
         printAction(window, "actApercu", {}, ReportCommand::Output::Preview)},
        {"btnMotDePasse", Glyphs::Id::Password, "Définir un mot de passe",
         "Définit le mot de passe demandé au démarrage du programme",
         action(window, "actMotDePasse", {}, &TFrmPrincipale::mnuPasseClick)},
        {"btnImprimer", Glyphs::Id::Print, "Imprimer document",
         "Imprime la liste des soins affichés",
         printAction(window, "actImprimer", {}, ReportCommand::Output::Printer)},
        {"btnSauvegarder", Glyphs::Id::Backup, "Créer une copie de sauvegarde",
         "Copie toutes les données du programme dans un dossier choisi",
         action(window, "actSauvegarder", {}, &TFrmPrincipale::btnSauvegarderClick)},
        {"btnAide", Glyphs::Id::Help, "Aide sur Talo 3.0", "Ouvre le sommaire de l'aide",
         action(window, "actAide", {}, &TFrmPrincipale::btnAideClick)},
        {"BtnQuitter", Glyphs::Id::Quit, "Quitter Talo 3.0",
         "Enregistre les listes et ferme le programme",
         action(window, "actQuitter", {}, &TFrmPrincipale::BtnQuitterClick)},
    };
    for (const Button &b : buttons) {
        b.command->setIcon(Glyphs::icon(b.glyph));
        b.command->setToolTip(QString::fromUtf8(b.hint));
        auto *button = new QToolButton(bar);
        button->setObjectName(QLatin1String(b.name));
        button->setDefaultAction(b.command);
        button->setFixedSize(25, 25);
        button->setIconSize(QSize(18, 18));
        button->setAutoRaise(true);
        // Reached by Tab, never taken by a click: a click leaves the caret in the field typed.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(QString::fromUtf8(b.hint));
        button->setAccessibleDescription(QString::fromUtf8(b.description));
        row->addWidget(button);
    }
    row->addStretch();

    auto *panel = new QFrame(bar);
    panel->setObjectName(QStringLiteral("PanneauAttendus"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto *inner = new QHBoxLayout(panel);
    inner->setContentsMargins(6, 0, 6, 0);
    inner->addWidget(new QLabel(QStringLiteral("Remboursements attendus :"), panel));
    awaited = new QLabel(RegisterTotals().awaitedText(), panel);
    awaited->setObjectName(QStringLiteral("EtqAttendus"));
    awaited->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    awaited->setMinimumWidth(110);
    awaited->setAccessibleDescription(QStringLiteral("Remboursements attendus"));
    // Blue where the palette lets it be read; themes draw the sunken panel in a shade of it.
    ReadableText::keep(awaited, QColor(0, 0, 255), QPalette::WindowText, {QPalette::Window}, 110);
    inner->addWidget(awaited);
    row->addWidget(panel);
    return bar;
}

QWidget *MainChrome::buildSelectorBand(TFrmPrincipale &window, QComboBox *&year,
                                       QComboBox *&beneficiary)
{
    auto *band = new QWidget(&window);
    band->setObjectName(QStringLiteral("BandeSelection"));
    band->setFixedHeight(33);
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(6, 2, 6, 2);
    year = new QComboBox(band);
    year->setObjectName(QStringLiteral("lstListeAnnee"));
    year->addItems(YearItems::items(Today::date().year()));
    year->setMaxVisibleItems(12);
    // Named by their captions, not by the item shown ("TOUTES").
    year->setAccessibleName(QStringLiteral("Année"));
    year->setAccessibleDescription(QStringLiteral("N'affiche que les soins de l'année choisie"));
    beneficiary = new QComboBox(band);
    beneficiary->setObjectName(QStringLiteral("lstListeBeneficiaires"));
    beneficiary->addItem(QStringLiteral("TOUS"));
    beneficiary->setMinimumContentsLength(20);
    beneficiary->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    beneficiary->setAccessibleName(QStringLiteral("Bénéficiaire"));
    beneficiary->setAccessibleDescription(
        QStringLiteral("N'affiche que les soins du bénéficiaire choisi"));
    // Alt and the underlined letter reach either list, the one Tab skips included.
    auto *yearCaption = new QLabel(QStringLiteral("A&nnée :"), band);
    yearCaption->setBuddy(year);
    auto *beneficiaryCaption = new QLabel(QStringLiteral("&Bénéficiaire :"), band);
    beneficiaryCaption->setBuddy(beneficiary);
    row->addWidget(yearCaption);
    row->addWidget(year);
    row->addSpacing(24);
    row->addWidget(beneficiaryCaption);
    row->addWidget(beneficiary);
    row->addStretch();
    return band;
}

QList<QLabel *> MainChrome::buildStatusBar(TFrmPrincipale &window)
{
    QStatusBar *bar = window.statusBar();
    bar->setObjectName(QStringLiteral("BarreEtat"));
    bar->setSizeGripEnabled(false);
    // The panels share the bar's width; tight spacing leaves room for large totals at the
    // window's minimum width.
    auto *row = new QWidget(bar);
    row->setObjectName(QStringLiteral("PanneauxEtat"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(PanelSpacing);
    QList<QLabel *> panels;
    for (const QString &text : RegisterTotals::initialStatusTexts()) {
        auto *panel = new StatusPanel(text, row);
        panel->setObjectName(QStringLiteral("BarreEtatPanneau%1").arg(panels.size()));
        layout->addWidget(panel);
        panels.append(panel);
    }
    bar->addWidget(row, 1);
    return panels;
}

int MainChrome::statusBarWidth(const QList<QLabel *> &panels)
{
    // Sums of up to 99 999,99 in every panel, the gap negative.
    RegisterTotals reference;
    reference.known = true;
    reference.cost = reference.cpam = reference.mutual = 9'999'999;
    reference.gap = -9'999'999;
    const QStringList texts = reference.statusTexts();
    int width = PanelSpacing * int(panels.size() - 1) + 8; // the bar's own margins
    for (qsizetype i = 0; i < panels.size() && i < texts.size(); ++i) {
        if (auto *panel = qobject_cast<StatusPanel *>(panels[i]))
            width += panel->widthFor(texts[i]);
    }
    return width;
}

QList<QAction *> MainChrome::windowCommands(TFrmPrincipale &window)
{
    QList<QAction *> commands;
    for (const char *name :
         {"mnuApercu", "mnuImprimer", "mnuPasse", "mnuSauvegarder", "mnuInformations",
          "mnuMedecins", "mnuBeneficiaires", "mnuApropos", "actInformations", "actMedecins",
          "actListeBenef", "actApercu", "actMotDePasse", "actImprimer", "actSauvegarder",
          "mnuExporter", "mnuRestaurer", "mnuImporterReleve"}) {
        if (auto *a = window.findChild<QAction *>(QLatin1String(name)))
            commands.append(a);
    }
    return commands;
}
