#include "DialogLookup.h"
#include "FakeBackupSources.h"

#include "platform/core/PlatformMessages.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "recovery/BackupCopy.h"
#include "safety/BackupPlace.h"
#include "safety/DirectoryListBox.h"
#include "safety/TFrmSauvegarder.h"
#include "support/ReadOnlyFolder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>

class TestBackupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Dialogs::startScripting(); }

    void cleanup()
    {
        Dialogs::stopScripting();
        Help::stopRecording();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
    }

    void controls_data();
    void controls();
    void captionBorderFocusAndPlace();
    void helpOpensContext44_data();
    void helpOpensContext44();
    void okBacksUpAndCloses();
    void secondGestureDuringBackupStartsNothing_data();
    void secondGestureDuringBackupStartsNothing();
    void opensWhereACopyBelongs();
    void asksBeforeWritingAmongOtherFiles_data();
    void asksBeforeWritingAmongOtherFiles();
    void noQuestionOverAnEarlierCopy();
    void folderNotRememberedStillReportsTheCopy();
    void okIntoProgramDirectoryWarnsAndStays();
    void okFailingStepShowsErrorAndStays();
    void cancelCopiesNothing_data();
    void cancelCopiesNothing();
    void keepsFolderBetweenOpenings();
};

void TestBackupDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QList<std::pair<const char *, const char *>> controls{
        {"etqDossier", "Dossier :"},
        {"etqLecteur", "Lecteur :"},
        {"btnAide", "&Aide"},
        {"btnCreerDossier", "&Créer nouveau dossier"},
        {"btnOK", "OK"},
        {"btnAnnuler", "Annuler"}};
    for (const auto &[name, text] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(text);
}

void TestBackupDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    FakeBackupSources sources;
    TFrmSauvegarder dialog(sources.programDir, sources);
    QWidget *widget = dialog.findChild<QWidget *>(name);
    QVERIFY(widget != nullptr);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(qobject_cast<QPushButton *>(widget)->text(), text);
}

void TestBackupDialog::captionBorderFocusAndPlace()
{
    FakeBackupSources sources;
    QWidget owner;
    owner.setGeometry(0, 0, 300, 200);
    owner.show();
    TFrmSauvegarder dialog(sources.programDir, sources, &owner);
    QCOMPARE(dialog.objectName(), QStringLiteral("TFrmSauvegarder"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Créer une copie de sauvegarde"));
    auto *group = dialogChild<QGroupBox>(dialog, "GroupBox1");
    QCOMPARE(group->title(), QStringLiteral(" Chemin de sauvegarde "));
    auto *path = dialogChild<QLabel>(dialog, "etqChemin");
    QVERIFY(group->isAncestorOf(path));
    QCOMPARE(path->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QVERIFY(dialogChild<QPushButton>(dialog, "btnOK")->isDefault());
    QVERIFY(dialogChild<DirectoryListBox>(dialog, "lstChemin") != nullptr);
    QVERIFY(dialogChild<QComboBox>(dialog, "lstLecteur") != nullptr);

    QVERIFY(showAndWait(dialog));
    QCOMPARE(QApplication::focusWidget(), dialogChild<QPushButton>(dialog, "btnAnnuler"));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QPoint centre = dialog.screen()->availableGeometry().center();
    QVERIFY((dialog.frameGeometry().center() - centre).manhattanLength() <= 2);
}

void TestBackupDialog::helpOpensContext44_data()
{
    QTest::addColumn<bool>("key");
    QTest::newRow("Aide") << false;
    QTest::newRow("F1") << true;
}

void TestBackupDialog::helpOpensContext44()
{
    QFETCH(bool, key);
    FakeBackupSources sources;
    Help::startRecording();
    TFrmSauvegarder dialog(sources.programDir, sources);
    QVERIFY(showAndWait(dialog));
    if (key)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    else
        QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnAide"), Qt::LeftButton);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 44);
    QVERIFY(dialog.isVisible());
}

void TestBackupDialog::okBacksUpAndCloses()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    QVERIFY(showAndWait(dialog));
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Information);
    QCOMPARE(Dialogs::shown().first().text,
             QStringLiteral("Copie terminée : 3 tables et 4 fichiers dans %1.").arg(target.path()));
    QCOMPARE(sources.cursorDuringBackup, Qt::WaitCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(folderEntries(target.path()).size(), 7);
    // The copy's talo.ini is the one of before the copy; the program's own now names the folder.
    QCOMPARE(BackupPlace::remembered(sources.programDir), target.path());
    QCOMPARE(BackupPlace::remembered(target.path()), QString());

    // The next run opens where this copy went.
    TFrmSauvegarder next(sources.programDir, sources);
    QVERIFY(showAndWait(next));
    QCOMPARE(next.folder(), target.path());
}

void TestBackupDialog::secondGestureDuringBackupStartsNothing_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::newRow("second click") << "click";
    QTest::newRow("Entrée held down") << "return";
    QTest::newRow("Alt+C, a menu's shortcut") << "shortcut";
}

// A second click on OK (or Entrée repeating) reaches the dialog while the first backup works:
// it must start no second backup inside the first, before the bar shows and after.
void TestBackupDialog::secondGestureDuringBackupStartsNothing()
{
    QFETCH(QString, gesture);
    FakeBackupSources sources;
    QTemporaryDir target;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    QVERIFY(showAndWait(dialog));
    auto *ok = dialogChild<QPushButton>(dialog, "btnOK");
    auto *create = dialogChild<QPushButton>(dialog, "btnCreerDossier");
    ok->setFocus();
    const auto act = [&] {
        if (gesture == QLatin1String("click"))
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (gesture == QLatin1String("return"))
            QTest::keyPress(ok, Qt::Key_Return, Qt::NoModifier);
        else
            QTest::keyClick(create, Qt::Key_C, Qt::AltModifier);
    };
    sources.duringBackup = [&] {
        act();
        // Again once the copy runs on its worker and the window thread waits for it.
        QTimer::singleShot(0, &dialog, act);
    };
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(sources.calls.count(QStringLiteral("writeSideFiles")), 1);
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Information);
    QCOMPARE(folderEntries(target.path()).size(), 7);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestBackupDialog::opensWhereACopyBelongs()
{
    for (const QString &root : TFrmSauvegarder::volumeRoots()) {
        if (root.startsWith(QLatin1String("/media/")))
            QSKIP("a disk is mounted under /media here: the dialog rightly opens on it");
    }
    FakeBackupSources sources;
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
    qputenv("HOME", home.path().toLocal8Bit());

    // Nothing remembered, no removable disk: the home folder (the question guards it).
    TFrmSauvegarder dialog(sources.programDir, sources);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(dialog.folder(), home.path());
    dialog.reject();

    // Until the user picks a folder, each opening looks again.
    const QString copies = home.filePath(QStringLiteral("Copies Talo"));
    QVERIFY(QDir().mkdir(copies));
    BackupPlace::remember(sources.programDir, copies);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(dialog.folder(), copies);
    QCOMPARE(dialogChild<QLabel>(dialog, "etqChemin")->text(), copies);
    dialog.reject();

    // A remembered folder that is gone (a key taken out) is not where the dialog opens.
    QVERIFY(QDir(copies).removeRecursively());
    TFrmSauvegarder later(sources.programDir, sources);
    QVERIFY(showAndWait(later));
    QCOMPARE(later.folder(), home.path());
}

void TestBackupDialog::asksBeforeWritingAmongOtherFiles_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Non") << false;
    QTest::newRow("Oui") << true;
}

void TestBackupDialog::asksBeforeWritingAmongOtherFiles()
{
    QFETCH(bool, yes);
    FakeBackupSources sources;
    QTemporaryDir target;
    QVERIFY(QDir(target.path()).mkdir("Documents"));
    QFile photo(target.filePath("photo.jpg"));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.write("JPEG");
    photo.close();
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    QVERIFY(showAndWait(dialog));
    Dialogs::queueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);

    QVERIFY(!Dialogs::shown().isEmpty());
    const Dialogs::Shown asked = Dialogs::shown().first();
    QCOMPARE(asked.kind, Dialogs::Kind::Question);
    QVERIFY2(asked.text.startsWith(QStringLiteral("Le dossier %1 contient déjà 2 éléments qui ne "
                                                  "viennent pas d'une copie de Talo 3.0 : "
                                                  "Documents, photo.jpg.")
                                       .arg(target.path())),
             qPrintable(asked.text));
    if (!yes) {
        // Nothing written anywhere, not even the program's side files; the dialog waits.
        QCOMPARE(Dialogs::shown().size(), 1);
        QVERIFY(sources.calls.isEmpty());
        QCOMPARE(folderEntries(target.path()), (QStringList{"Documents", "photo.jpg"}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(BackupPlace::remembered(sources.programDir), QString());
        return;
    }
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().at(1).kind, Dialogs::Kind::Information);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folderEntries(target.path()).size(), 9);
    QCOMPARE(FileBytes::of(target.filePath("photo.jpg")), QByteArray("JPEG"));
}

void TestBackupDialog::noQuestionOverAnEarlierCopy()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    for (int run = 0; run < 2; ++run) {
        QVERIFY(showAndWait(dialog));
        QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(Dialogs::shown().size(), 2);
    for (const Dialogs::Shown &box : Dialogs::shown())
        QCOMPARE(box.kind, Dialogs::Kind::Information);
}

void TestBackupDialog::folderNotRememberedStillReportsTheCopy()
{
    // talo.ini cannot hold a line break, which a folder name may: the copy is whole all the same.
    FakeBackupSources sources;
    QTemporaryDir root;
    const QString deep = root.filePath(QStringLiteral("Copies\nTalo"));
    QVERIFY(QDir().mkpath(deep));
    const QByteArray ini = FileBytes::of(sources.programDir + "talo.ini");
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(deep);
    QVERIFY(showAndWait(dialog));
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folderEntries(deep).size(), 7);
    QCOMPARE(Dialogs::shown().size(), 1);
    const QString text = Dialogs::shown().first().text;
    QVERIFY2(text.startsWith(QStringLiteral("Copie terminée : 3 tables et 4 fichiers dans %1.\n\n"
                                            "Ce dossier n'a pas pu être retenu")
                                 .arg(deep)),
             qPrintable(text));
    QCOMPARE(FileBytes::of(sources.programDir + "talo.ini"), ini);
}

void TestBackupDialog::okIntoProgramDirectoryWarnsAndStays()
{
    FakeBackupSources sources;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(sources.dir.path());
    QVERIFY(showAndWait(dialog));
    const QStringList before = folderEntries(sources.programDir);
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Warning);
    QCOMPARE(Dialogs::shown().first().text,
             QStringLiteral("Impossible de créer une copie de sauvegarde dans le dossier "
                            "d'installation de Talo 3.0. Choisissez ou créez un autre dossier."));
    QVERIFY(sources.calls.isEmpty());
    QCOMPARE(folderEntries(sources.programDir), before);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestBackupDialog::okFailingStepShowsErrorAndStays()
{
    FakeBackupSources sources;
    sources.writeIni({"[ListeFichiers]", "1=absent.txt"});
    QTemporaryDir target;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    QVERIFY(showAndWait(dialog));
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QCOMPARE(Dialogs::shown().first().text,
             PlatformMessages::cannotReadFile(sources.programDir + "absent.txt",
                                              PlatformMessages::fileMissing()));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    // The tables copied before the failing step stay.
    QVERIFY(folderEntries(target.path()).contains(QStringLiteral("TALO.DB")));
}

void TestBackupDialog::cancelCopiesNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Annuler") << false;
    QTest::newRow("Escape") << true;
}

void TestBackupDialog::cancelCopiesNothing()
{
    QFETCH(bool, escape);
    FakeBackupSources sources;
    QTemporaryDir target;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(target.path());
    QVERIFY(showAndWait(dialog));
    if (escape)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnAnnuler"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(sources.calls.isEmpty());
    QVERIFY(folderEntries(target.path()).isEmpty());
}

void TestBackupDialog::keepsFolderBetweenOpenings()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Garde"));
    QVERIFY(QDir(root.path()).mkdir("Disparu"));
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path() + "/Garde");
    QVERIFY(showAndWait(dialog));
    dialog.reject();
    QVERIFY(showAndWait(dialog));
    QCOMPARE(dialog.folder(), root.path() + "/Garde");
    QCOMPARE(QApplication::focusWidget(), dialogChild<QPushButton>(dialog, "btnAnnuler"));

    // A folder removed meanwhile gives way to its parent at the next opening.
    dialog.setFolder(root.path() + "/Disparu");
    dialog.reject();
    QVERIFY(QDir(root.path()).rmdir("Disparu"));
    QVERIFY(showAndWait(dialog));
    QCOMPARE(dialog.folder(), root.path());
    QCOMPARE(dialogChild<QLabel>(dialog, "etqChemin")->text(), root.path());
}

QTEST_MAIN(TestBackupDialog)
#include "test_backup_dialog.moc"
