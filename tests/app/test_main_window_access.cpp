#include "MainWindowFixture.h"

#include "app/TaloApplication.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/TextContrast.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace CareFields;

namespace
{

// The letter after '&' in a menu or command text, in lower case; none when there is none.
QChar accelerator(const QString &text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

QString withoutAccelerator(QString text)
{
    return text.remove(QLatin1Char('&'));
}

QPalette paletteOf(const QColor &window, const QColor &base, const QColor &text,
                   const QColor &button)
{
    QPalette p(button, window);
    p.setColor(QPalette::Base, base);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    p.setColor(QPalette::Disabled, QPalette::Text,
               text.lightness() > 128 ? QColor(0x91, 0x91, 0x91) : QColor(0x80, 0x80, 0x80));
    return p;
}

QString accessibleText(QWidget *widget, QAccessible::Text which)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(which) : QStringLiteral("<none>");
}

} // namespace

// The main window as a person without a mouse or without sight meets it: a letter for every
// menu and command, F10, the tool bar and navigator reached by Tab and named aloud; its colours
// read on any palette; the rate shown as the amounts are typed; every column in sight.
class TestMainWindowAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void menusHaveOneLetterEach();
    void f10OpensTheFirstMenu();
    void toolBarButtonsAreReachedByTabAndPressedByEnter();
    void controlsAreNamed_data();
    void controlsAreNamed();
    void everyControlHasANameAndDescription();
    void textsReadOnEveryPalette_data();
    void textsReadOnEveryPalette();
    void rateFollowsEachKey_data();
    void rateFollowsEachKey();
    void everyColumnInSightAtOpening();

private:
    MainWindowFixture f;
    QPalette original_;
};

void TestMainWindowAccess::initTestCase()
{
    MainWindowFixture::pinConventions();
    // The program's fonts: the column widths depend on them.
    TaloApplication::applyFrenchConventions();
}

void TestMainWindowAccess::init()
{
    original_ = QApplication::palette();
    QVERIFY(f.prepare());
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\n");
}

void TestMainWindowAccess::cleanup()
{
    f.finish();
    QApplication::setPalette(original_);
}

void TestMainWindowAccess::menusHaveOneLetterEach()
{
    QVERIFY(f.start());
    // The menus' own texts, only the '&' added; no two commands of a menu share a letter.
    const QList<QStringList> expected = {
        {"Fichier", "Aperçu", "Imprimer...", "Mot de passe...", "Copie de sauvegarde...",
         "Exporter...", "Restaurer une copie de sauvegarde...", "Importer un relevé bancaire...",
         "Joindre des pièces...", "Pièces jointes...", "Dossier pour la mutuelle...", "Quitter"},
        {"Voir", "Informations", "Carnet d'adresses", "Liste des bénéficiaires",
         "Suivi des remboursements...", "Bilan annuel...", "Rechercher..."},
        {"Aide", "Aide", "A propos..."},
    };
    QMenuBar *bar = f.main().menuBar();
    QList<QChar> titles;
    QCOMPARE(bar->actions().size(), expected.size());
    for (int m = 0; m < expected.size(); ++m) {
        QAction *title = bar->actions().at(m);
        QCOMPARE(withoutAccelerator(title->text()), expected[m].first());
        const QChar letter = accelerator(title->text());
        QVERIFY2(!letter.isNull() && !titles.contains(letter), qPrintable(title->text()));
        titles.append(letter);
        QStringList texts;
        QList<QChar> letters;
        for (QAction *command : title->menu()->actions()) {
            if (command->isSeparator())
                continue;
            texts.append(withoutAccelerator(command->text()));
            const QChar l = accelerator(command->text());
            QVERIFY2(!l.isNull() && !letters.contains(l), qPrintable(command->text()));
            letters.append(l);
        }
        QCOMPARE(texts, expected[m].mid(1));
    }
}

void TestMainWindowAccess::f10OpensTheFirstMenu()
{
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    QVERIFY(f.start());
    f.child<QWidget>("DBBeneficiaire")->setFocus();
    f.press(Qt::Key_F10);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QString("mnuFichier"));
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    // Nothing of the entry changed on the way: F10 is no key of the data window.
    QCOMPARE(f.table().state(), Table::State::Browse);
}

void TestMainWindowAccess::toolBarButtonsAreReachedByTabAndPressedByEnter()
{
    QVERIFY(f.start());
    const QStringList toolBar = {"btnInformations", "BtnMedecins",   "btnListeBenef",
                                 "btnApercu",       "btnMotDePasse", "btnImprimer",
                                 "btnSauvegarder",  "btnAide",       "BtnQuitter"};
    for (const QString &name : toolBar)
        QCOMPARE(f.child<QToolButton>(name)->focusPolicy(), Qt::TabFocus);
    auto *navigator = f.child<DBNavigator>("navTableTous");
    for (DBNavigator::Button b : DBNavigator::allButtons())
        QCOMPARE(navigator->button(b)->focusPolicy(), Qt::TabFocus);
    // From the year selector backwards to the help button, then Enter opens the contents.
    f.child<QComboBox>("lstListeAnnee")->setFocus();
    f.press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QString("BtnQuitter"));
    f.press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QString("btnAide"));
    Help::clearLastRequest();
    f.press(Qt::Key_Return);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, Help::Contents);
    // A click on a button still leaves the caret where it was.
    f.child<QWidget>("DBBeneficiaire")->setFocus();
    QTest::mouseClick(f.child<QToolButton>("btnAide"), Qt::LeftButton);
    QCOMPARE(f.focusedName(), QString("DBBeneficiaire"));
}

void TestMainWindowAccess::controlsAreNamed_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("navigatorButton"); // -1: `object` itself
    QTest::addColumn<QString>("name");
    const char *toolBar[][2] = {
        {"btnInformations", "Informations générales"},
        {"BtnMedecins", "Carnet d'adresses médicales"},
        {"btnListeBenef", "Liste des bénéficiaires"},
        {"btnApercu", "Aperçu document"},
        {"btnMotDePasse", "Définir un mot de passe"},
        {"btnImprimer", "Imprimer document"},
        {"btnSauvegarder", "Créer une copie de sauvegarde"},
        {"btnAide", "Aide sur Talo 3.0"},
        {"BtnQuitter", "Quitter Talo 3.0"},
    };
    for (const auto &b : toolBar)
        QTest::newRow(b[0]) << b[0] << -1 << QString::fromUtf8(b[1]);
    const char *navigator[] = {"Premier enregistrement", "Enregistrement précédent",
                               "Enregistrement suivant", "Dernier enregistrement",
                               "Ajouter enregistrement", "Supprimer enregistrement",
                               "Valider enregistrement", "Annuler modifications"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(navigator[i]) << "navTableTous" << i << QString::fromUtf8(navigator[i]);
    QTest::newRow("year") << "lstListeAnnee" << -1 << "Année";
    QTest::newRow("beneficiary") << "lstListeBeneficiaires" << -1 << "Bénéficiaire";
    QTest::newRow("cost") << "DBCout" << -1 << "Coût";
    QTest::newRow("rate") << "DBchpPourcentage" << -1 << "Taux";
    QTest::newRow("estimate") << "DBchpEstimation" << -1 << "Estimation";
    QTest::newRow("mutual amount") << "DBchpMontantMutuelle" << -1 << "Montant";
}

void TestMainWindowAccess::controlsAreNamed()
{
    QFETCH(QString, object);
    QFETCH(int, navigatorButton);
    QFETCH(QString, name);
    QVERIFY(f.start());
    QWidget *widget =
        navigatorButton < 0
            ? f.child<QWidget>(object)
            : f.child<DBNavigator>(object)->button(DBNavigator::Button(navigatorButton));
    QCOMPARE(widget->accessibleName(), name);
    QVERIFY(!widget->accessibleDescription().isEmpty());
    // What the accessibility interface hands over, never the value shown ("TOUTES").
    if (!qobject_cast<QComboBox *>(widget))
        QCOMPARE(accessibleText(widget, QAccessible::Name), name);
    QVERIFY(!accessibleText(widget, QAccessible::Description).isEmpty());
}

void TestMainWindowAccess::everyControlHasANameAndDescription()
{
    QVERIFY(f.start());
    // Every control a person can reach: buttons, lists, fields, the grid.
    QStringList unnamed;
    for (QWidget *w : f.main().findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
                             qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractItemView *>(w) ||
                             w->inherits("QPlainTextEdit") || w->inherits("QTextEdit");
        if (!control || w->isHidden() || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            continue; // a list's own edit
        if (w->inherits("QScrollBar") || w->parentWidget()->inherits("QTabBar"))
            continue;
        if (accessibleText(w, QAccessible::Name).isEmpty() ||
            accessibleText(w, QAccessible::Description).isEmpty())
            unnamed.append(w->objectName() + QLatin1Char('/') + w->metaObject()->className());
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String(", "))));
}

void TestMainWindowAccess::textsReadOnEveryPalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("ownColours"); // light: the program's blue and green stay as they are
    QTest::newRow("light") << paletteOf(Qt::white, Qt::white, Qt::black, QColor(0xf0, 0xf0, 0xf0))
                           << true;
    QTest::newRow("dark") << paletteOf(QColor(0x35, 0x35, 0x35), QColor(0x2d, 0x2d, 0x2d),
                                       QColor(0xee, 0xee, 0xec), QColor(0x3a, 0x3a, 0x3a))
                          << false;
    // A high-contrast black theme and a mid-grey one, where neither white nor black is easy.
    QTest::newRow("black") << paletteOf(Qt::black, Qt::black, Qt::white, QColor(0x10, 0x10, 0x10))
                           << false;
    QTest::newRow("mid grey") << paletteOf(QColor(0x80, 0x80, 0x80), QColor(0x90, 0x90, 0x90),
                                           Qt::black, QColor(0x88, 0x88, 0x88))
                              << false;
}

void TestMainWindowAccess::textsReadOnEveryPalette()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, ownColours);
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}, {Estimation, "12"}});
    QApplication::setPalette(palette);
    QVERIFY(f.start());

    const auto reads = [](const QColor &text, const QColor &background, const char *what) {
        const double r = TextContrast::ratio(text, background);
        QVERIFY2(r >= TextContrast::MinimumRatio,
                 qPrintable(QStringLiteral("%1: %2 on %3 reads at %4")
                                .arg(what, text.name(), background.name())
                                .arg(r)));
    };
    auto *awaited = f.child<QLabel>("EtqAttendus");
    reads(awaited->palette().color(QPalette::WindowText),
          awaited->palette().color(QPalette::Window), "awaited amount");
    QTabBar *tabs = f.child<QTabWidget>("OngletsSaisie")->tabBar();
    // Behind the page, a tab is drawn a shade darker than the window.
    for (QPalette::ColorRole background : {QPalette::Window, QPalette::Button}) {
        reads(tabs->palette().color(QPalette::WindowText), tabs->palette().color(background),
              "page tab");
        reads(tabs->palette().color(QPalette::WindowText),
              tabs->palette().color(background).darker(108), "tab behind the page");
    }
    auto *grid = f.child<DBGrid>("DBGrille");
    const QColor title =
        grid->model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color();
    reads(title, grid->horizontalHeader()->palette().color(QPalette::Button), "column title");
    // The estimate of an entry not marked partial: disabled, silver.
    auto *estimate = f.child<DBEdit>("DBchpEstimation");
    QVERIFY(!estimate->isEnabled());
    QCOMPARE(estimate->palette().color(QPalette::Base), QColor(0xc0, 0xc0, 0xc0));
    reads(estimate->palette().color(QPalette::Disabled, QPalette::Text),
          estimate->palette().color(QPalette::Disabled, QPalette::Base), "disabled estimate");
    if (ownColours) {
        QCOMPARE(awaited->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(title, QColor(0, 0, 255));
        // Green, a shade darker only where the tabs behind the page would not let it be read.
        const QColor green = tabs->palette().color(QPalette::WindowText);
        QVERIFY2(green.red() == 0 && green.blue() == 0 && green.green() >= 80,
                 qPrintable(green.name()));
    }
}

void TestMainWindowAccess::rateFollowsEachKey_data()
{
    QTest::addColumn<QString>("base");      // typed, then Enter
    QTest::addColumn<QString>("amount");    // typed key by key, no Enter
    QTest::addColumn<QStringList>("rates"); // shown after each key of the amount
    QTest::newRow("52 of 80") << "80"
                              << "52" << QStringList{"06%", "65%"};
    QTest::newRow("decimals") << "25"
                              << "17,5" << QStringList{"04%", "68%", "", "70%"};
    QTest::newRow("not an amount") << "80"
                                   << "5x" << QStringList{"06%", ""};
    QTest::newRow("no base") << ""
                             << "52" << QStringList{"", ""};
}

void TestMainWindowAccess::rateFollowsEachKey()
{
    QFETCH(QString, base);
    QFETCH(QString, amount);
    QFETCH(QStringList, rates);
    f.seed({{DateSoins, "01/02/24"}, {Beneficiaire, "MARTIN"}, {Cout, "30"}});
    QVERIFY(f.start());
    auto *pages = f.child<QTabWidget>("OngletsSaisie");
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    QVERIFY(f.enterUntil("DBchpBase"));
    f.type(base);
    f.press(Qt::Key_Return);
    QCOMPARE(f.focusedName(), QString("DBchpMontantCPAM"));
    auto *rate = f.child<DBEdit>("DBchpPourcentage");
    for (int i = 0; i < amount.size(); ++i) {
        f.type(amount.at(i));
        QCOMPARE(rate->text(), rates.at(i));
    }
    // Escape drops the typing: the rate of the stored amounts again.
    f.press(Qt::Key_Escape);
    QCOMPARE(rate->text(), QString());
}

void TestMainWindowAccess::everyColumnInSightAtOpening()
{
    // Widest values in every column.
    f.seed({{DateSoins, "28/12/24"},
            {Beneficiaire, "MARTIN-DELACROIX"},
            {Medecin, "DUPONT"},
            {Cout, "-99999,99"},
            {MontantCPAM, "99999,99"},
            {MontantMutuelle, "99999,99"}});
    QVERIFY(f.start());
    auto *grid = f.child<DBGrid>("DBGrille");
    QCOMPARE(f.main().size(), QSize(f.main().minimumWidth(), 480));
    QVERIFY(grid->horizontalScrollBar()->maximum() == 0);
    const int last = grid->model()->columnCount() - 1;
    QCOMPARE(grid->model()->headerData(last, Qt::Horizontal).toString(), QString("Ecart"));
    QVERIFY2(grid->columnViewportPosition(last) + grid->columnWidth(last) <=
                 grid->viewport()->width(),
             qPrintable(QString::number(grid->viewport()->width())));
}

QTEST_MAIN(TestMainWindowAccess)
#include "test_main_window_access.moc"
