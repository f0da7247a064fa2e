#include "FolderContents.h"
#include "ModalDriver.h"

#include "platform/core/PlatformMessages.h"
#include "platform/core/PrivateProfile.h"
#include "platform/core/SideFile.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "recovery/PasswordStore.h"
#include "safety/TfrmCreationPasse.h"
#include "safety/TfrmMotDePasse.h"
#include "support/FileSizeLimit.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Outcome = TfrmMotDePasse::Outcome;
Q_DECLARE_METATYPE(TfrmMotDePasse::Outcome)

namespace
{

QLineEdit *edit(QWidget &w)
{
    return w.findChild<QLineEdit *>(QStringLiteral("chpMotDePasse"));
}

QPushButton *button(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(QLatin1String(name));
}

bool centredOnScreen(QWidget &w)
{
    return (w.frameGeometry().center() - w.screen()->availableGeometry().center())
               .manhattanLength() <= 2;
}

} // namespace

class TestPasswordDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void promptLooksRight();
    void gateOutcomes_data();
    void gateOutcomes();
    void noPasswordNoPrompt();
    void unreadableIniRefuses();

    void clearTextOfAnEarlierVersionReplacedAtTheGate();

    void newPasswordFieldStartsEmpty_data();
    void newPasswordFieldStartsEmpty();
    void newPasswordTakesEffectNextStart();
    void emptyNewPasswordKeepsThePassword();
    void removeCheckBoxRemovesTheGate();
    void writeFailureKeepsDialogOpenAndOldValue_data();
    void writeFailureKeepsDialogOpenAndOldValue();
    void helpOpensContext19();
    void gateF1OpensItsHelpAndKeepsAsking();

private:
    QTemporaryDir dir_;
    QString programDir() const { return dir_.path() + QStringLiteral("/"); }
};

void TestPasswordDialogs::init()
{
    Dialogs::startScripting();
    QFile::remove(programDir() + "talo.ini");
}

void TestPasswordDialogs::cleanup()
{
    Dialogs::stopScripting();
    Help::stopRecording();
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
}

void TestPasswordDialogs::promptLooksRight()
{
    QWidget owner;
    owner.setGeometry(0, 0, 300, 200);
    owner.show();
    TfrmMotDePasse prompt(&owner);
    QCOMPARE(prompt.windowTitle(), QStringLiteral("Talo 3.0"));
    QCOMPARE(prompt.findChild<QLabel *>("Label1")->text(), QStringLiteral("Saisir mot de passe :"));
    QCOMPARE(button(prompt, "btnOK")->text(), QStringLiteral("OK"));
    QVERIFY(button(prompt, "btnOK")->isDefault());
    QCOMPARE(button(prompt, "btnAnnuler")->text(), QStringLiteral("Annuler"));
    ModalDriver driver([&](QDialog &d) {
        QCOMPARE(QApplication::focusWidget(), edit(d));
        QTest::keyClicks(edit(d), QStringLiteral("abc"));
        QCOMPARE(edit(d)->displayText(), QStringLiteral("***"));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(centredOnScreen(d));
        d.reject();
    });
    prompt.ask(StoredPassword::plain(QStringLiteral("abc")));
    QVERIFY(driver.fired());
}

void TestPasswordDialogs::gateOutcomes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("how");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<bool>("inClear");
    auto row = [](const char *name, const QString &stored, const QString &typed, const QString &how,
                  Outcome outcome, bool inClear = false) {
        QTest::newRow(name) << stored << typed << how << outcome << inClear;
    };
    row("right, OK", "Secret", "Secret", "ok", Outcome::LetIn);
    row("right, Enter", "Secret", "Secret", "enter", Outcome::LetIn);
    row("awkward, right", "a=b; \"c\" ", "a=b; \"c\" ", "ok", Outcome::LetIn);
    row("other letter case", "Secret", "secret", "ok", Outcome::Refused);
    row("empty entry", "Secret", "", "ok", Outcome::Refused);
    row("blank not trimmed", "Secret", "Secret ", "enter", Outcome::Refused);
    row("Annuler", "Secret", "Secret", "annuler", Outcome::Cancelled);
    row("Escape", "Secret", "", "escape", Outcome::Cancelled);
    row("close box", "Secret", "Secret", "close", Outcome::Cancelled);
    // Kept in clear by an earlier version: still the same gate.
    row("in clear, right", "Secret", "Secret", "enter", Outcome::LetIn, true);
    row("in clear, other letter case", "Secret", "SECRET", "ok", Outcome::Refused, true);
    row("in clear, empty entry", "Secret", "", "ok", Outcome::Refused, true);
    row("in clear, Escape", "Secret", "Secret", "escape", Outcome::Cancelled, true);
}

void TestPasswordDialogs::gateOutcomes()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(Outcome, outcome);
    QFETCH(bool, inClear);
    if (inClear)
        SideFile::writeLines(programDir() + "talo.ini", {"[MotDePasse]", "Chaine=" + stored});
    else
        PasswordStore::write(programDir(), stored);
    const QByteArray ini = FileBytes::of(programDir() + "talo.ini");

    TfrmMotDePasse prompt;
    ModalDriver driver([&](QDialog &d) {
        QTest::keyClicks(edit(d), typed);
        if (how == "ok")
            QTest::mouseClick(button(d, "btnOK"), Qt::LeftButton);
        else if (how == "enter")
            QTest::keyClick(edit(d), Qt::Key_Return);
        else if (how == "annuler")
            QTest::mouseClick(button(d, "btnAnnuler"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(edit(d), Qt::Key_Escape);
        else
            d.close();
    });
    QCOMPARE(prompt.gate(programDir()), outcome);
    QVERIFY(driver.fired());
    QVERIFY(!prompt.isVisible());
    if (outcome == Outcome::Refused) {
        QCOMPARE(Dialogs::shown().size(), 1);
        QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Plain);
        QCOMPARE(Dialogs::shown().first().text,
                 QStringLiteral("Mot de passe non valable!! Talo 3.0 vous quitte."));
    } else {
        QVERIFY(Dialogs::shown().isEmpty());
    }
    // The gate writes nothing, whatever its outcome, but the hash of a clear text that let the
    // user in.
    QCOMPARE(folderEntries(programDir()), QStringList{"talo.ini"});
    if (!inClear || outcome != Outcome::LetIn)
        QCOMPARE(FileBytes::of(programDir() + "talo.ini"), ini);
}

void TestPasswordDialogs::noPasswordNoPrompt()
{
    SideFile::writeLines(programDir() + "talo.ini", {"[MotDePasse]", "Chaine="});
    TfrmMotDePasse prompt;
    ModalDriver driver([](QDialog &d) { d.reject(); }, 300);
    QCOMPARE(prompt.gate(programDir()), Outcome::LetIn);
    QTest::qWait(350);
    QVERIFY(!driver.fired());
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestPasswordDialogs::unreadableIniRefuses()
{
    PasswordStore::write(programDir(), QStringLiteral("Secret"));
    const QString ini = programDir() + "talo.ini";
    QFile::setPermissions(ini, QFileDevice::Permissions());
    TfrmMotDePasse prompt;
    ModalDriver driver([](QDialog &d) { d.accept(); }, 300);
    Outcome outcome = Outcome::LetIn;
    {
        const PermissionsEnforced enforced;
        QFile probe(ini);
        if (!probe.open(QIODevice::ReadOnly))
            outcome = prompt.gate(programDir());
    }
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (Dialogs::shown().isEmpty())
        QSKIP("permission bits are not enforced for this process");
    // An unreadable file never opens a protected register.
    QCOMPARE(outcome, Outcome::Refused);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QCOMPARE(Dialogs::shown().first().text,
             PlatformMessages::cannotReadFile(ini, PlatformMessages::readAccessDenied()));
}

void TestPasswordDialogs::clearTextOfAnEarlierVersionReplacedAtTheGate()
{
    SideFile::writeLines(programDir() + "talo.ini", {"[MotDePasse]", "Chaine=Ancien mot"});
    TfrmMotDePasse prompt;
    ModalDriver driver([&](QDialog &d) {
        QTest::keyClicks(edit(d), QStringLiteral("Ancien mot"));
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    QCOMPARE(prompt.gate(programDir()), Outcome::LetIn);
    // Once it has let the user in, only its hash is left.
    QVERIFY(!FileBytes::of(programDir() + "talo.ini").contains("Ancien"));
    const StoredPassword stored = PasswordStore::read(programDir());
    QVERIFY(!stored.isPlain());
    QVERIFY(stored.matches(QStringLiteral("Ancien mot")));

    ModalDriver again([&](QDialog &d) {
        QTest::keyClicks(edit(d), QStringLiteral("Ancien mot"));
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    QCOMPARE(prompt.gate(programDir()), Outcome::LetIn);
}

void TestPasswordDialogs::newPasswordFieldStartsEmpty_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("hint");
    QTest::newRow("a password in force")
        << " Mon Secret"
        << "Un mot de passe est en vigueur. Laissez ce champ vide pour le garder, ou saisissez "
           "le nouveau.";
    QTest::newRow("none") << ""
                          << "Aucun mot de passe pour l'instant. Laissez ce champ vide pour "
                             "continuer sans mot de passe.";
}

void TestPasswordDialogs::newPasswordFieldStartsEmpty()
{
    QFETCH(QString, current);
    QFETCH(QString, hint);
    PasswordStore::write(programDir(), current);
    const QByteArray before = FileBytes::of(programDir() + "talo.ini");
    TfrmCreationPasse dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Création mot de passe"));
    QCOMPARE(dialog.findChild<QLabel *>("Label1")->text(),
             QStringLiteral("Saisir nouveau mot de passe :"));
    QCOMPARE(button(dialog, "btnAnnuler")->text(), QStringLiteral("Annuler"));
    QCOMPARE(button(dialog, "btnAide")->text(), QStringLiteral("&Aide"));
    QString shown, typed, hintShown;
    bool removable = false;
    ModalDriver driver([&](QDialog &d) {
        QCOMPARE(QApplication::focusWidget(), edit(d));
        QVERIFY(centredOnScreen(d));
        shown = edit(d)->displayText();
        hintShown = d.findChild<QLabel *>("etqConseil")->text();
        removable = d.findChild<QCheckBox *>("ccSupprimer")->isVisible();
        QTest::keyClicks(edit(d), QStringLiteral("autre"));
        // What is typed is shown in clear.
        typed = edit(d)->displayText();
        QTest::mouseClick(button(d, "btnAnnuler"), Qt::LeftButton);
    });
    QVERIFY(!dialog.run(programDir()));
    QVERIFY(driver.fired());
    QCOMPARE(shown, QString());
    QCOMPARE(typed, QStringLiteral("autre"));
    QCOMPARE(hintShown, hint);
    QCOMPARE(removable, !current.isEmpty());
    QCOMPARE(FileBytes::of(programDir() + "talo.ini"), before);
}

void TestPasswordDialogs::newPasswordTakesEffectNextStart()
{
    PasswordStore::write(programDir(), QStringLiteral("ancien"));
    TfrmCreationPasse dialog;
    ModalDriver driver([&](QDialog &d) {
        QTest::keyClicks(edit(d), QStringLiteral("Nouveau;=1"));
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    QVERIFY(dialog.run(programDir()));
    QVERIFY(PasswordStore::read(programDir()).matches(QStringLiteral("Nouveau;=1")));

    TfrmMotDePasse prompt;
    ModalDriver next([&](QDialog &d) {
        QTest::keyClicks(edit(d), QStringLiteral("ancien"));
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    QCOMPARE(prompt.gate(programDir()), Outcome::Refused);
}

void TestPasswordDialogs::emptyNewPasswordKeepsThePassword()
{
    SideFile::writeLines(programDir() + "talo.ini", {"[MotDePasse]", "Chaine=ancien"});
    const QByteArray before = FileBytes::of(programDir() + "talo.ini");
    TfrmCreationPasse dialog;
    ModalDriver driver([&](QDialog &d) { QTest::mouseClick(button(d, "btnOK"), Qt::LeftButton); });
    QVERIFY(!dialog.run(programDir()));
    QVERIFY(driver.fired());
    QCOMPARE(FileBytes::of(programDir() + "talo.ini"), before);
    QVERIFY(PasswordStore::read(programDir()).matches(QStringLiteral("ancien")));
}

void TestPasswordDialogs::removeCheckBoxRemovesTheGate()
{
    PasswordStore::write(programDir(), QStringLiteral("ancien"));
    TfrmCreationPasse dialog;
    bool fieldDisabled = false;
    ModalDriver driver([&](QDialog &d) {
        QTest::keyClicks(edit(d), QStringLiteral("tape puis abandonne"));
        d.findChild<QCheckBox *>("ccSupprimer")->click();
        fieldDisabled = !edit(d)->isEnabled() && edit(d)->text().isEmpty();
        QTest::mouseClick(button(d, "btnOK"), Qt::LeftButton);
    });
    QVERIFY(dialog.run(programDir()));
    QVERIFY(fieldDisabled);
    QVERIFY(!PasswordStore::read(programDir()).isSet());

    TfrmMotDePasse prompt;
    ModalDriver none([](QDialog &d) { d.reject(); }, 300);
    QCOMPARE(prompt.gate(programDir()), Outcome::LetIn);
    QTest::qWait(350);
    QVERIFY(!none.fired());
}

void TestPasswordDialogs::writeFailureKeepsDialogOpenAndOldValue_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("read-only folder") << false;
    QTest::newRow("disk fills up mid-write") << true;
}

void TestPasswordDialogs::writeFailureKeepsDialogOpenAndOldValue()
{
    QFETCH(bool, diskFull);
    PasswordStore::write(programDir(), QStringLiteral("ancien"));
    TfrmCreationPasse dialog;
    bool stillOpen = false;
    QString kept;
    {
        std::optional<ReadOnlyFolder> readOnly;
        std::optional<FileSizeLimit> full;
        if (diskFull) {
            full.emplace(8);
        } else {
            readOnly.emplace(dir_.path());
            if (!readOnly->isReadOnly())
                QSKIP("the folder cannot be made read-only here");
        }
        ModalDriver driver([&](QDialog &d) {
            QTest::keyClicks(edit(d), QStringLiteral("nouveau"));
            QTest::mouseClick(button(d, "btnOK"), Qt::LeftButton);
            stillOpen = d.isVisible();
            kept = edit(d)->text();
            d.reject();
        });
        QVERIFY(!dialog.run(programDir()));
    }
    QVERIFY(stillOpen);
    QCOMPARE(kept, QStringLiteral("nouveau"));
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QVERIFY(Dialogs::shown().first().text.startsWith(
        QStringLiteral("Impossible d'écrire le fichier %1").arg(programDir() + "talo.ini")));
    QVERIFY(PasswordStore::read(programDir()).matches(QStringLiteral("ancien")));
}

void TestPasswordDialogs::helpOpensContext19()
{
    Help::startRecording();
    TfrmCreationPasse dialog;
    ModalDriver driver([&](QDialog &d) {
        QTest::mouseClick(button(d, "btnAide"), Qt::LeftButton);
        QVERIFY(d.isVisible());
        d.reject();
    });
    dialog.run(programDir());
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 19);
}

void TestPasswordDialogs::gateF1OpensItsHelpAndKeepsAsking()
{
    // The person who forgot how the gate works asks for help without losing the try.
    Help::startRecording();
    TfrmMotDePasse prompt;
    bool stillAsking = false;
    ModalDriver driver([&](QDialog &d) {
        QTest::keyClick(edit(d), Qt::Key_F1);
        stillAsking = d.isVisible();
        QTest::keyClicks(edit(d), QStringLiteral("abc"));
        QTest::mouseClick(button(d, "btnOK"), Qt::LeftButton);
    });
    QCOMPARE(prompt.ask(StoredPassword::plain(QStringLiteral("abc"))), Outcome::LetIn);
    QVERIFY(driver.fired());
    QVERIFY(stillAsking);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 48);
}

QTEST_MAIN(TestPasswordDialogs)
#include "test_password_dialogs.moc"
