#include "MainWindowFixture.h"

#include "app/TaloApplication.h"
#include "platform/core/PlatformError.h"
#include "safety/ModalDriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <stdexcept>

using namespace CareFields;

// The main window's way in and its safety net: the password asked when it is first shown, the
// about box, and an error escaping a handler, shown by the application without ending it.
class TestMainWindowGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init() { QVERIFY(f.prepare()); }
    void cleanup() { f.finish(); }

    void passwordGate_data();
    void passwordGate();
    void aboutBox();
    void errorEscapingHandlerShownAndProgramGoesOn_data();
    void errorEscapingHandlerShownAndProgramGoesOn();

private:
    MainWindowFixture f;
};

void TestMainWindowGate::passwordGate_data()
{
    QTest::addColumn<QByteArray>("passwordLine");
    QTest::addColumn<QString>("typed"); // "<cancel>": Annuler
    QTest::addColumn<bool>("prompted");
    QTest::addColumn<bool>("letIn");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("right password")
        << QByteArray("Chaine=Secret") << "Secret" << true << true << QStringList{};
    QTest::newRow("wrong password")
        << QByteArray("Chaine=Secret") << "secret" << true << false
        << QStringList{"Mot de passe non valable!! Talo 3.0 vous quitte."};
    QTest::newRow("cancelled") << QByteArray("Chaine=Secret") << "<cancel>" << true << false
                               << QStringList{};
    QTest::newRow("empty password: no prompt")
        << QByteArray("Chaine=") << "" << false << true << QStringList{};
}

void TestMainWindowGate::passwordGate()
{
    QFETCH(QByteArray, passwordLine);
    QFETCH(QString, typed);
    QFETCH(bool, prompted);
    QFETCH(bool, letIn);
    QFETCH(QStringList, messages);
    f.putFile("talo.ini", "[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2=talosoc.inf\r\n"
                          "3=mutuelle.inf\r\n4=talo.ini\r\n[MotDePasse]\r\n" +
                              passwordLine + "\r\n");
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\n");
    QString promptTitle;
    bool registerShownBehindPrompt = false;
    ModalDriver driver([&](QDialog &prompt) {
        promptTitle = prompt.objectName();
        registerShownBehindPrompt = f.main().isVisible();
        auto *edit = prompt.findChild<QLineEdit *>("chpMotDePasse");
        if (typed == "<cancel>") {
            QTest::mouseClick(prompt.findChild<QPushButton *>("btnAnnuler"), Qt::LeftButton);
            return;
        }
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(f.start(true), letIn);
    QCOMPARE(driver.fired(), prompted);
    if (prompted) {
        QCOMPARE(promptTitle, QString("TfrmMotDePasse"));
        QVERIFY(!registerShownBehindPrompt);
    }
    QCOMPARE(Dialogs::shownTexts(), messages);
    QCOMPARE(f.main().isVisible(), letIn);
    QCOMPARE(f.main().leaveSilently(), !letIn);
    if (letIn)
        return;
    // Refused: the program ends without the question and writes nothing.
    QCOMPARE(f.fileBytes("LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n"));
    QCOMPARE(f.fileBytes("talosoc.inf"), QByteArray("<none>"));
    QCOMPARE(f.fileBytes("mutuelle.inf"), QByteArray("<none>"));
}

void TestMainWindowGate::aboutBox()
{
    QVERIFY(f.start(true));
    Dialogs::clearShown();
    QString caption;
    bool closedByEscape = false;
    ModalDriver driver([&](QDialog &box) {
        caption = box.windowTitle();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        closedByEscape = !box.isVisible();
    });
    f.child<QAction>("mnuApropos")->trigger();
    QVERIFY(driver.fired());
    QCOMPARE(caption, QString(" A propos..."));
    QVERIFY(closedByEscape);
    QVERIFY(f.main().isVisible());
    QCOMPARE(Dialogs::shownTexts(), QStringList());
}

void TestMainWindowGate::errorEscapingHandlerShownAndProgramGoesOn_data()
{
    QTest::addColumn<bool>("platformError");
    QTest::addColumn<QString>("message");
    QTest::newRow("platform error") << true << "Le disque est plein.";
    QTest::newRow("other error") << false << "Erreur inattendue : panne";
}

void TestMainWindowGate::errorEscapingHandlerShownAndProgramGoesOn()
{
    QFETCH(bool, platformError);
    QFETCH(QString, message);
    QVERIFY(qobject_cast<TaloApplication *>(qApp));
    QVERIFY(f.start(true));
    Dialogs::clearShown();
    // A command of the tool bar whose handler fails.
    auto *failing = new QAction(&f.main());
    int runs = 0;
    connect(failing, &QAction::triggered, &f.main(), [&runs, platformError] {
        ++runs;
        if (platformError)
            throw PlatformError(QStringLiteral("Le disque est plein."));
        throw std::runtime_error("panne");
    });
    auto *button = f.child<QToolButton>("btnAide");
    button->setDefaultAction(failing);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(runs, 1);
    QCOMPARE(Dialogs::shownTexts(), QStringList({message}));
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    // The program goes on: the same command runs again, the window still works.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(runs, 2);
    QCOMPARE(Dialogs::shownTexts(), QStringList({message, message}));
    f.typeEntry("150324", "martin", "45");
    QCOMPARE(f.storedRows({Beneficiaire}), QStringList({"MARTIN"}));
}

// The program's own application object, so that errors escaping handlers meet its notify().
int main(int argc, char *argv[])
{
    TaloApplication app(argc, argv);
    TaloApplication::applyFrenchConventions();
    TestMainWindowGate test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window_gate.moc"
