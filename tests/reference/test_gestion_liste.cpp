#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/BeneficiaryListOwner.h"
#include "reference/TFrmGestionListe.h"
#include "reference/WindowDriving.h"

#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace
{

// Stands for the main window's beneficiary selector.
class FakeOwner : public BeneficiaryListOwner
{
public:
    QStringList items{"TOUS", "MARIE", "PAUL"};
    QList<QStringList> replacements;

    QStringList beneficiaryItems() const override { return items; }
    void replaceBeneficiaries(const QStringList &newItems) override
    {
        replacements.append(newItems);
        items = newItems;
    }
};

} // namespace

class TestGestionListe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void captionBorderAndSize();
    void controlsTextsAndTabOrder();
    void showingCopiesOwnersList();
    void addedNameIsUpperCased_data();
    void addedNameIsUpperCased();
    void addingTwiceGivesTwoEntries();
    void emptyOrCancelledInputChangesNothing_data();
    void emptyOrCancelledInputChangesNothing();
    void removingWithoutSelectionTellsHow();
    void currentButUnselectedEntryIsNoSelection();
    void firstEntryIsProtectedByPosition_data();
    void firstEntryIsProtectedByPosition();
    void removingOtherEntryLeavesNoSelection();
    void quitterHandsListBack();
    void closeBoxDiscardsChanges();
    void escapeKeepsWindowAndChanges();
    void nameLongerThanFieldRefused_data();
    void nameLongerThanFieldRefused();
    void inputBoxShowsWholeCaption_data();
    void inputBoxShowsWholeCaption();
    void helpOpensContext45();
    void enterPressesOnlyFocusedButton();
    void centredOnScreen();

private:
    void show(TFrmGestionListe &window);
    QStringList entries(TFrmGestionListe &window);
    void select(TFrmGestionListe &window, int row);
    void click(TFrmGestionListe &window, const char *button);
};

void TestGestionListe::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestGestionListe::init()
{
    Dialogs::startScripting();
    Help::startRecording();
}

void TestGestionListe::cleanup()
{
    WindowDriving::closeAll();
    Dialogs::stopScripting();
    Help::stopRecording();
}

void TestGestionListe::show(TFrmGestionListe &window)
{
    window.open();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

QStringList TestGestionListe::entries(TFrmGestionListe &window)
{
    auto *list = window.findChild<QListWidget *>("lstGestionBenef");
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

void TestGestionListe::select(TFrmGestionListe &window, int row)
{
    auto *list = window.findChild<QListWidget *>("lstGestionBenef");
    const QRect cell = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(list->selectedItems().size(), 1);
}

void TestGestionListe::click(TFrmGestionListe &window, const char *button)
{
    auto *b = window.findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(b != nullptr, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void TestGestionListe::captionBorderAndSize()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    QCOMPARE(window.objectName(), QStringLiteral("TFrmGestionListe"));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Gestion des bénéficiaires"));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    show(window);
    QCOMPARE(window.size(), QSize(326, 177));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.isModal());
}

void TestGestionListe::controlsTextsAndTabOrder()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    auto *label = window.findChild<QLabel *>("Label1");
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QStringLiteral("Liste des noms :"));
    auto *list = window.findChild<QListWidget *>("lstGestionBenef");
    QVERIFY(list != nullptr);
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!list->isSortingEnabled());

    const QList<std::pair<const char *, QString>> buttons{{"btnAjouter", "A&jouter un nom"},
                                                          {"btnSupprimer", "&Supprimer un nom"},
                                                          {"btnQuitter", "&Quitter"},
                                                          {"btnAide", "&Aide"}};
    // The list has the focus first, Tab then walks through the buttons in order.
    QCOMPARE(QApplication::focusWidget(), list);
    for (const auto &[name, text] : buttons) {
        auto *button = window.findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(button != nullptr, name);
        QCOMPARE(button->text(), text);
        QVERIFY2(!button->icon().isNull(), name);
        QVERIFY2(button->width() >= button->sizeHint().width(),
                 qPrintable(QString("%1 %2 %3")
                                .arg(name)
                                .arg(button->width())
                                .arg(button->sizeHint().width())));
        QVERIFY2(window.rect().contains(button->geometry()), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
    }
}

void TestGestionListe::showingCopiesOwnersList()
{
    FakeOwner owner;
    owner.items = {"TOUS", "", "MARIE", "MARIE"};
    TFrmGestionListe window(owner);
    show(window);
    QCOMPARE(entries(window), owner.items);
    QVERIFY(owner.replacements.isEmpty());
}

void TestGestionListe::addedNameIsUpperCased_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "paul"
                           << "PAUL";
    QTest::newRow("accented first letter") << "élodie"
                                           << "ÉLODIE";
    QTest::newRow("accents inside") << "françois-hélène"
                                    << "FRANÇOIS-HÉLÈNE";
    QTest::newRow("already upper") << "MARC"
                                   << "MARC";
    QTest::newRow("blanks kept, no trimming") << "  zoé "
                                              << "  ZOÉ ";
    QTest::newRow("only blanks accepted") << "   "
                                          << "   ";
    QTest::newRow("pasted line break") << "anne\r\nmarie"
                                       << "ANNE MARIE";
}

void TestGestionListe::addedNameIsUpperCased()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput(typed);
    click(window, "btnAjouter");
    QCOMPARE(entries(window), (QStringList{"TOUS", "MARIE", "PAUL", stored}));
    const Dialogs::Shown asked = Dialogs::shown().last();
    QCOMPARE(asked.kind, Dialogs::Kind::Input);
    QCOMPARE(asked.caption, QStringLiteral(" Ajouter un nom"));
    QCOMPARE(asked.text, QStringLiteral("Nom du nouveau bénéficiaire :"));
    // The owner's list is untouched until Quitter.
    QVERIFY(owner.replacements.isEmpty());
}

void TestGestionListe::addingTwiceGivesTwoEntries()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput("marie");
    click(window, "btnAjouter");
    QCOMPARE(entries(window), (QStringList{"TOUS", "MARIE", "PAUL", "MARIE"}));
}

void TestGestionListe::emptyOrCancelledInputChangesNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("OK with empty text") << false;
    QTest::newRow("Cancel") << true;
}

void TestGestionListe::emptyOrCancelledInputChangesNothing()
{
    QFETCH(bool, cancel);
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    if (cancel)
        Dialogs::queueInputCancel();
    else
        Dialogs::queueInput(QString());
    click(window, "btnAjouter");
    QCOMPARE(entries(window), owner.items);
    QCOMPARE(Dialogs::shown().size(), 1);
}

void TestGestionListe::removingWithoutSelectionTellsHow()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    click(window, "btnSupprimer");
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Information);
    QCOMPARE(Dialogs::shown().first().text,
             QStringLiteral("Vous devez sélectionner un nom à supprimer dans la 'Liste des noms'"));
    QCOMPARE(entries(window), owner.items);
}

void TestGestionListe::currentButUnselectedEntryIsNoSelection()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    auto *list = window.findChild<QListWidget *>("lstGestionBenef");
    list->selectionModel()->setCurrentIndex(list->model()->index(2, 0),
                                            QItemSelectionModel::NoUpdate);
    click(window, "btnSupprimer");
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{"Vous devez sélectionner un nom à supprimer dans la 'Liste des noms'"});
    QCOMPARE(entries(window), owner.items);
}

void TestGestionListe::firstEntryIsProtectedByPosition_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("TOUS first") << QStringList{"TOUS", "MARIE"};
    QTest::newRow("another name first") << QStringList{"MARIE", "TOUS"};
}

void TestGestionListe::firstEntryIsProtectedByPosition()
{
    QFETCH(QStringList, items);
    FakeOwner owner;
    owner.items = items;
    TFrmGestionListe window(owner);
    show(window);
    select(window, 0);
    click(window, "btnSupprimer");
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Warning);
    QCOMPARE(Dialogs::shown().first().text,
             QStringLiteral("Vous ne pouvez pas supprimer 'TOUS' dans la 'Liste des noms' !"));
    QCOMPARE(entries(window), items);
}

void TestGestionListe::removingOtherEntryLeavesNoSelection()
{
    FakeOwner owner;
    owner.items = {"TOUS", "MARIE", "PAUL", "MARIE"};
    TFrmGestionListe window(owner);
    show(window);
    select(window, 3);
    click(window, "btnSupprimer");
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(entries(window), (QStringList{"TOUS", "MARIE", "PAUL"}));
    auto *list = window.findChild<QListWidget *>("lstGestionBenef");
    QVERIFY(list->selectedItems().isEmpty());
    // A second press finds nothing selected.
    click(window, "btnSupprimer");
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(entries(window), (QStringList{"TOUS", "MARIE", "PAUL"}));
}

void TestGestionListe::quitterHandsListBack()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput("zoé");
    click(window, "btnAjouter");
    select(window, 1);
    click(window, "btnSupprimer");
    click(window, "btnQuitter");
    QCOMPARE(owner.replacements, (QList<QStringList>{{"TOUS", "PAUL", "ZOÉ"}}));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestGestionListe::closeBoxDiscardsChanges()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput("zoé");
    click(window, "btnAjouter");
    QVERIFY(window.close());
    QVERIFY(owner.replacements.isEmpty());
    QCOMPARE(owner.items, (QStringList{"TOUS", "MARIE", "PAUL"}));
    // Reopening starts again from the owner's list.
    show(window);
    QCOMPARE(entries(window), owner.items);
}

void TestGestionListe::escapeKeepsWindowAndChanges()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput("zoé");
    click(window, "btnAjouter");
    select(window, 2);
    click(window, "btnSupprimer");
    // From the list and from a button, as the user may be on either.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(window.findChild<QListWidget *>("lstGestionBenef"), Qt::Key_Escape);
    QVERIFY(window.isVisible());
    click(window, "btnQuitter");
    QCOMPARE(owner.replacements, (QList<QStringList>{{"TOUS", "MARIE", "ZOÉ"}}));
}

void TestGestionListe::nameLongerThanFieldRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("kept");
    QTest::newRow("20 characters") << QString(20, QLatin1Char('a')) << true;
    QTest::newRow("21 characters") << QString(21, QLatin1Char('a')) << false;
    // Upper-casing may lengthen a name: the stored text is what must fit.
    QTest::newRow("longer once upper-cased") << QString(19, QLatin1Char('a')) + "ß" << false;
}

void TestGestionListe::nameLongerThanFieldRefused()
{
    QFETCH(QString, typed);
    QFETCH(bool, kept);
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    Dialogs::queueInput(typed);
    click(window, "btnAjouter");
    QCOMPARE(entries(window).size(), owner.items.size() + (kept ? 1 : 0));
    // Refused with a message, then offered again with the text typed (cancelled here).
    const QList<Dialogs::Shown> shown = Dialogs::shown();
    QCOMPARE(shown.size(), kept ? 1 : 3);
    if (!kept)
        QVERIFY(shown[1].kind == Dialogs::Kind::Warning && shown[1].text.contains("20 au plus"));
}

void TestGestionListe::inputBoxShowsWholeCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("add a name") << " Ajouter un nom";
    QTest::newRow("new folder") << " Créer un nouveau dossier";
}

void TestGestionListe::inputBoxShowsWholeCaption()
{
    QFETCH(QString, caption);
    QInputDialog box;
    Dialogs::prepareInputDialog(box, caption, "Nom :", QString());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    // Icon, up to three buttons and margins beside the text.
    const QFontMetrics metrics(title);
    QVERIFY(box.width() >= metrics.horizontalAdvance(caption) + 4 * (metrics.height() + 8));
}

void TestGestionListe::helpOpensContext45()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    click(window, "btnAide");
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 45);
    QVERIFY(window.isVisible());
}

void TestGestionListe::enterPressesOnlyFocusedButton()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    select(window, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(window.isVisible());
    window.findChild<QPushButton *>("btnSupprimer")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(entries(window), (QStringList{"TOUS", "PAUL"}));
}

void TestGestionListe::centredOnScreen()
{
    FakeOwner owner;
    TFrmGestionListe window(owner);
    show(window);
    const QPoint screenCentre = window.screen()->availableGeometry().center();
    const QPoint windowCentre = window.frameGeometry().center();
    QVERIFY(qAbs(screenCentre.x() - windowCentre.x()) <= 1);
    QVERIFY(qAbs(screenCentre.y() - windowCentre.y()) <= 1);
}

QTEST_MAIN(TestGestionListe)
#include "test_gestion_liste.moc"
