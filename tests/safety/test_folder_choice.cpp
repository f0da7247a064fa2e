#include "DialogLookup.h"
#include "FakeBackupSources.h"

#include "platform/core/PlatformMessages.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "recovery/BackupCopy.h"
#include "safety/DirectoryListBox.h"
#include "safety/TFrmSauvegarder.h"
#include "support/ReadOnlyFolder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QTest>

namespace
{

// The folders from the root down to `path` itself, as the list shows its ancestors.
QStringList chainDownTo(const QString &path)
{
    QStringList chain{QStringLiteral("/")};
    QString walked;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        chain.append(walked);
    }
    return chain;
}

} // namespace

class TestFolderChoice : public QObject
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

    void pathLabelShowsWholePath();
    void listShowsAncestorsAndSubfolders();
    void doubleClickEntersFolder();
    void enterEntersFolderWithoutBackingUp();
    void volumesAreMountedFoldersAndChoosable();
    void createFolder_data();
    void createFolder();
    void createFolderInReadOnlyFolder();
};

void TestFolderChoice::pathLabelShowsWholePath()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    QString deep = root.path();
    for (const char *part : {"Documents de la famille", "Santé et remboursements",
                             "copies_de_sauvegarde_du_registre_des_soins_sans_aucun_blanc_dans_"
                             "le_nom_du_dossier"})
        deep += QLatin1Char('/') + QString::fromUtf8(part);
    QVERIFY(QDir().mkpath(deep));
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(deep);
    QVERIFY(showAndWait(dialog));
    auto *label = dialogChild<QLabel>(dialog, "etqChemin");
    QCOMPARE(label->text(), deep);
    QCOMPARE(dialog.folder(), deep);
    // The label is tall enough for the whole path at its width, even a name without blanks
    // that a plain label would clip: at least as many lines as the text is wider than it.
    const QFontMetrics metrics(label->font());
    const int lines = metrics.horizontalAdvance(deep) / label->contentsRect().width() + 1;
    QVERIFY(lines >= 3);
    QVERIFY2(label->height() >= lines * metrics.lineSpacing(),
             qPrintable(QStringLiteral("%1 < %2 lines").arg(label->height()).arg(lines)));
    QVERIFY(label->geometry().bottom() < label->parentWidget()->contentsRect().bottom());
    // The frame's layout may offer more width than the label takes; the height must still be
    // the one needed at the label's own width.
    QCOMPARE(label->heightForWidth(4 * label->width()), label->heightForWidth(label->width()));
}

void TestFolderChoice::listShowsAncestorsAndSubfolders()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    for (const char *name : {"b", "Alpha", "c", ".cache"})
        QVERIFY(QDir(root.path()).mkdir(QLatin1String(name)));
    QFile plain(root.path() + "/fichier.txt");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path());
    auto *list = dialogChild<DirectoryListBox>(dialog, "lstChemin");
    const QStringList expected = chainDownTo(root.path())
                                 << root.path() + "/Alpha" << root.path() + "/b"
                                 << root.path() + "/c";
    QCOMPARE(list->shownPaths(), expected);
    QCOMPARE(list->currentItem()->data(0, DirectoryListBox::PathRole).toString(), root.path());
}

void TestFolderChoice::doubleClickEntersFolder()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Sauvegardes"));
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path());
    QVERIFY(showAndWait(dialog));
    auto *list = dialogChild<DirectoryListBox>(dialog, "lstChemin");
    const QList<QTreeWidgetItem *> found = list->findItems("Sauvegardes", Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dialog.folder(), root.path() + "/Sauvegardes");
    QCOMPARE(dialogChild<QLabel>(dialog, "etqChemin")->text(), root.path() + "/Sauvegardes");

    // And back up to the parent through its row among the ancestors.
    const QList<QTreeWidgetItem *> parent =
        list->findItems(QFileInfo(root.path()).fileName(), Qt::MatchRecursive);
    QCOMPARE(parent.size(), 1);
    const QPoint up = list->visualItemRect(parent.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, up);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, up);
    QCOMPARE(dialog.folder(), root.path());
}

void TestFolderChoice::enterEntersFolderWithoutBackingUp()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Cible"));
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path());
    QVERIFY(showAndWait(dialog));
    auto *list = dialogChild<DirectoryListBox>(dialog, "lstChemin");
    list->setFocus();
    list->setCurrentItem(list->findItems("Cible", Qt::MatchRecursive).first());
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.folder(), root.path() + "/Cible");
    // Enter went to the list, not to the default button.
    QVERIFY(dialog.isVisible());
    QVERIFY(sources.calls.isEmpty());
    QVERIFY(folderEntries(root.path() + "/Cible").isEmpty());
}

void TestFolderChoice::volumesAreMountedFoldersAndChoosable()
{
    FakeBackupSources sources;
    const QStringList roots = TFrmSauvegarder::volumeRoots();
    QVERIFY(roots.contains(QStringLiteral("/")));
    TFrmSauvegarder dialog(sources.programDir, sources);
    QTemporaryDir here;
    dialog.setFolder(here.path());
    auto *combo = dialogChild<QComboBox>(dialog, "lstLecteur");
    QCOMPARE(combo->currentData().toString(), QStorageInfo(here.path()).rootPath());
    for (const QString &root : roots) {
        // Files mounted over files are left out: only folders.
        QVERIFY2(QFileInfo(root).isDir(), qPrintable(root));
        QVERIFY2(combo->findData(root) >= 0, qPrintable(root));
    }

    // Choosing a volume moves the list to its root.
    const int rootIndex = combo->findData(QStringLiteral("/"));
    combo->setCurrentIndex(rootIndex);
    Q_EMIT combo->activated(rootIndex);
    QCOMPARE(dialog.folder(), QStringLiteral("/"));
    QCOMPARE(dialogChild<QLabel>(dialog, "etqChemin")->text(), QStringLiteral("/"));
}

void TestFolderChoice::createFolder_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result"); // "created", "nothing" or "error"
    auto row = [](const char *tag, bool cancel, const QString &name, const QString &result) {
        QTest::newRow(tag) << cancel << name << result;
    };
    row("new name", false, "Nouvelle copie", "created");
    row("empty name", false, "", "nothing");
    row("blanks only", false, "   ", "nothing");
    row("cancelled", true, "Annulé", "nothing");
    row("existing name", false, "Existant", "error");
    row("with a separator", false, "a/b", "error");
    row("parent", false, "..", "error");
}

void TestFolderChoice::createFolder()
{
    QFETCH(bool, cancel);
    QFETCH(QString, name);
    QFETCH(QString, result);
    FakeBackupSources sources;
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Existant"));
    QVERIFY(QDir(root.path()).mkdir("a"));
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path());
    QVERIFY(showAndWait(dialog));
    if (cancel)
        Dialogs::queueInputCancel();
    else
        Dialogs::queueInput(name);
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnCreerDossier"), Qt::LeftButton);

    const QList<Dialogs::Shown> &shown = Dialogs::shown();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.first().kind, Dialogs::Kind::Input);
    QCOMPARE(shown.first().caption, QStringLiteral(" Créer un nouveau dossier"));
    QCOMPARE(shown.first().text, QStringLiteral("Nom du nouveau dossier :"));
    if (result == "created") {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(folderEntries(root.path()), QStringList({"Existant", "Nouvelle copie", "a"}));
        QCOMPARE(dialog.folder(), root.path() + "/Nouvelle copie");
        QCOMPARE(dialogChild<QLabel>(dialog, "etqChemin")->text(), root.path() + "/Nouvelle copie");
        const QFileDevice::Permissions perms =
            QFileInfo(root.path() + "/Nouvelle copie").permissions();
        QVERIFY(!(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
        return;
    }
    if (result == "error") {
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(1).kind, Dialogs::Kind::Error);
        QCOMPARE(shown.at(1).text, QStringLiteral("Impossible de créer le dossier."));
    } else {
        QCOMPARE(shown.size(), 1);
    }
    QCOMPARE(folderEntries(root.path()), QStringList({"Existant", "a"}));
    QVERIFY(folderEntries(root.path() + "/a").isEmpty());
    QCOMPARE(dialog.folder(), root.path());
    QVERIFY(dialog.isVisible());
}

void TestFolderChoice::createFolderInReadOnlyFolder()
{
    FakeBackupSources sources;
    QTemporaryDir root;
    TFrmSauvegarder dialog(sources.programDir, sources);
    dialog.setFolder(root.path());
    QVERIFY(showAndWait(dialog));
    const ReadOnlyFolder readOnly(root.path());
    if (!readOnly.isReadOnly())
        QSKIP("the folder cannot be made read-only here");
    Dialogs::queueInput(QStringLiteral("Copie"));
    QTest::mouseClick(dialogChild<QPushButton>(dialog, "btnCreerDossier"), Qt::LeftButton);
    QCOMPARE(Dialogs::shownTexts().last(), QStringLiteral("Impossible de créer le dossier."));
    QCOMPARE(dialog.folder(), root.path());
}

QTEST_MAIN(TestFolderChoice)
#include "test_folder_choice.moc"
