#include "support/PermissionsEnforced.h"

#include "platform/core/ProgramVersion.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>

namespace
{

QString realHelpFile()
{
    return QFINDTESTDATA("../../resources/help/Talo.hlp");
}

QString readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The heading block that carries `anchor`, or an invalid block.
QTextBlock anchorBlock(const QTextDocument *document, const QString &anchor)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return block;
        }
    }
    return {};
}

// The plain text of the section opened by `anchor`, up to the next level-2 heading.
QString sectionText(const QTextDocument *document, const QString &anchor)
{
    QTextBlock block = anchorBlock(document, anchor);
    if (!block.isValid())
        return {};
    QString text = block.text();
    for (block = block.next(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2)
            break;
        text += QLatin1Char('\n') + block.text();
    }
    return text;
}

bool headingVisible(HelpWindow *window, const QString &anchor)
{
    QTextBrowser *browser = window->browser();
    const QTextBlock block = anchorBlock(browser->document(), anchor);
    if (!block.isValid())
        return false;
    QRectF rect = browser->document()->documentLayout()->blockBoundingRect(block);
    rect.translate(0, -browser->verticalScrollBar()->value());
    return rect.top() >= 0 && rect.bottom() <= browser->viewport()->height();
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void anchorFor_data();
    void anchorFor();
    void helpFileHasEveryContext_data();
    void helpFileHasEveryContext();
    void helpFileLinksAllResolve();
    void helpFileIsUtf8();
    void helpSectionsDescribeTheirWindow_data();
    void helpSectionsDescribeTheirWindow();
    void helpNamesTheProgramVersion();

    void defaultHelpFileIsInProgramDirectory();
    void missingFileGivesFrenchError();
    void folderInPlaceOfFileGivesFrenchError();
    void unreadableFileGivesFrenchError();
    void binaryFileGivesFrenchError();
    void fileNameMatchedWithoutCase();

    void windowOpensAtContext_data();
    void windowOpensAtContext();
    void unknownContextOpensTop();
    void oneWindowServesEveryRequest();
    void windowStaysInsideTheScreen();
    void contentsButtonAndHistory();
    void escapeClosesWindow();
    void usableFromModalDialog_data();
    void usableFromModalDialog();

    void recordingShowsNothing();

private:
    QString helpPath_;
    QTextDocument document_;
};

void TestHelp::initTestCase()
{
    helpPath_ = realHelpFile();
    QVERIFY2(!helpPath_.isEmpty(), "resources/help/Talo.hlp not found");
    document_.setHtml(readUtf8(helpPath_));
}

void TestHelp::init()
{
    Dialogs::startScripting();
    Help::setHelpFile(helpPath_);
}

void TestHelp::cleanup()
{
    Help::closeWindow();
    Help::stopRecording();
    Help::setHelpFile(QString());
    Dialogs::stopScripting();
}

void TestHelp::anchorFor_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("contents") << int(Help::Contents) << "contents";
    QTest::newRow("negative") << -4 << "contents";
    QTest::newRow("1") << 1 << "context-1";
    QTest::newRow("19") << 19 << "context-19";
    QTest::newRow("45") << 45 << "context-45";
}

void TestHelp::anchorFor()
{
    QFETCH(int, context);
    QFETCH(QString, anchor);
    QCOMPARE(Help::anchorFor(context), anchor);
}

void TestHelp::helpFileHasEveryContext_data()
{
    QTest::addColumn<QString>("anchor");
    QTest::newRow("contents") << "contents";
    for (const char *context :
         {"1", "19", "24", "25", "44", "45", "46", "47", "48", "49", "50", "60", "61", "62"})
        QTest::newRow(context) << QStringLiteral("context-%1").arg(QLatin1String(context));
}

void TestHelp::helpFileHasEveryContext()
{
    QFETCH(QString, anchor);
    QVERIFY2(HelpWindow::anchorNames(&document_).contains(anchor), qPrintable(anchor));
}

void TestHelp::helpFileLinksAllResolve()
{
    const QStringList anchors = HelpWindow::anchorNames(&document_);
    QStringList broken;
    int links = 0;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (href.isEmpty())
                continue;
            ++links;
            if (!href.startsWith(QLatin1Char('#')) || !anchors.contains(href.mid(1)))
                broken.append(href);
        }
    }
    QVERIFY(links > 20);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char(' '))));
    // Every section is reachable from the contents page.
    const QString contents = sectionText(&document_, QStringLiteral("contents"));
    for (const QString &anchor : anchors) {
        if (anchor != QLatin1String("contents"))
            QVERIFY2(contents.contains(QTextBlock(anchorBlock(&document_, anchor)).text()),
                     qPrintable(anchor));
    }
}

void TestHelp::helpFileIsUtf8()
{
    QFile file(helpPath_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    QVERIFY(!decoder.hasError());
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(!text.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
}

void TestHelp::helpSectionsDescribeTheirWindow_data()
{
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char *anchor, const char *caption) {
        QTest::addRow("%s %s", anchor, caption)
            << QString::fromUtf8(anchor) << QString::fromUtf8(caption);
    };
    row("context-25", "Estimation :");
    row("context-25", "Remboursement partiel");
    row("context-25", "Date de rembours. :");
    row("context-25", "Taux :");
    row("context-25", "Carte bleue");
    row("context-25", "Inser");
    row("context-25", "Echap");
    row("context-24", "Flèche haut");
    row("context-1", "Organisme d'affiliation :");
    row("context-1", "Mode de réglement :");
    row("context-1", "Droits jusqu'au :");
    row("context-1", "N° tél. :");
    row("context-1", "Code postal :");
    row("context-19", "Saisir nouveau mot de passe :");
    row("context-44", "Créer nouveau dossier");
    row("context-44", "Nom du nouveau dossier :");
    row("context-45", "Ajouter un nom");
    row("context-45", "Supprimer un nom");
    row("context-45", "Nom du nouveau bénéficiaire :");
    row("totaux", "Remboursements attendus");
    row("totaux", "Total C.P.A.M.:");
    row("context-48", "Mot de passe non valable!! Talo 3.0 vous quitte.");
    row("context-44", "Copie terminée : 3 tables et 4 fichiers dans");
    row("context-44", "/media");
    row("context-46", "Les soins affichés dans la fenêtre principale");
    row("context-46", "Le carnet d'adresses des médecins");
    row("context-46", "Les assurés");
    row("context-47", "Copies de sauvegarde :");
    row("context-47", "Autre dossier...");
    row("context-47", "Avant restauration");
    row("copies-automatiques", "Sauvegardes/2024-06-15");
    row("copies-automatiques", "dix copies");
    row("context-49", "~/Talo/talo --version");
    row("quitter", "Voulez-vous vraiment quitter Talo 3.0 ?");
}

void TestHelp::helpSectionsDescribeTheirWindow()
{
    QFETCH(QString, anchor);
    QFETCH(QString, caption);
    const QString text = sectionText(&document_, anchor);
    QVERIFY2(!text.isEmpty(), qPrintable(anchor));
    // Captions are quoted with non-breaking spaces inside the guillemets; compare the words.
    QString flat = text;
    flat.replace(QChar(0x00A0), QLatin1Char(' '));
    QVERIFY2(flat.contains(caption), qPrintable(caption));
}

void TestHelp::helpNamesTheProgramVersion()
{
    QVERIFY(sectionText(&document_, QStringLiteral("context-49")).contains(ProgramVersion::text()));
}

void TestHelp::defaultHelpFileIsInProgramDirectory()
{
    Help::setHelpFile(QString());
    QCOMPARE(Help::helpFile(), QCoreApplication::applicationDirPath() + "/Talo.hlp");
}

void TestHelp::missingFileGivesFrenchError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Talo.hlp"));
    Help::setHelpFile(path);
    Help::showContext(nullptr, 25);
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QCOMPARE(Dialogs::shown().first().text,
             QStringLiteral("Le fichier d'aide %1 est introuvable.").arg(path));
    QVERIFY(Help::window() == nullptr);
    // The request is still known, so a window test can check which context was asked for.
    QCOMPARE(Help::lastRequest()->context, 25);
}

void TestHelp::folderInPlaceOfFileGivesFrenchError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Talo.hlp"));
    QVERIFY(QDir().mkdir(path));
    Help::setHelpFile(path);
    Help::showContents(nullptr);
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{QStringLiteral("Le fichier d'aide %1 ne peut pas être lu.").arg(path)});
    QVERIFY(Help::window() == nullptr);
}

void TestHelp::unreadableFileGivesFrenchError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Talo.hlp"));
    QVERIFY(QFile::copy(helpPath_, path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    Help::setHelpFile(path);
    {
        PermissionsEnforced enforced;
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("permission bits are not enforced for this process");
        Help::showContext(nullptr, 44);
    }
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{QStringLiteral("Le fichier d'aide %1 ne peut pas être lu.").arg(path)});
    QVERIFY(Help::window() == nullptr);
}

void TestHelp::binaryFileGivesFrenchError()
{
    // An old binary help file copied into the program folder.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Talo.hlp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x3f\x5f\x03\x00\x10\x00\x00\x00\xff\xff\xff\xff", 12));
    file.write(QByteArray(2000, '\0'));
    file.close();
    Help::setHelpFile(path);
    Help::showContents(nullptr);
    QCOMPARE(Dialogs::shownTexts(),
             QStringList{
                 QStringLiteral("Le fichier d'aide %1 n'est pas au format attendu (document HTML).")
                     .arg(path)});
    QVERIFY(Help::window() == nullptr);
}

void TestHelp::fileNameMatchedWithoutCase()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(helpPath_, dir.filePath(QStringLiteral("TALO.HLP"))));
    Help::setHelpFile(dir.filePath(QStringLiteral("Talo.hlp")));
    Help::showContext(nullptr, 45);
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(Help::window() != nullptr);
    QCOMPARE(Help::window()->currentAnchor(), QStringLiteral("context-45"));
}

void TestHelp::windowOpensAtContext_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("contents") << int(Help::Contents) << "contents";
    QTest::newRow("1") << 1 << "context-1";
    QTest::newRow("19") << 19 << "context-19";
    QTest::newRow("24") << 24 << "context-24";
    QTest::newRow("25") << 25 << "context-25";
    QTest::newRow("44") << 44 << "context-44";
    QTest::newRow("45") << 45 << "context-45";
}

void TestHelp::windowOpensAtContext()
{
    QFETCH(int, context);
    QFETCH(QString, anchor);
    if (context == Help::Contents)
        Help::showContents(nullptr);
    else
        Help::showContext(nullptr, context);
    QVERIFY(Dialogs::shown().isEmpty());
    HelpWindow *window = Help::window();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("Aide de Talo 3.0"));
    // Read as UTF-8: accents intact.
    QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("Gestion des bénéficiaires")));
    QCOMPARE(window->currentAnchor(), anchor);
    QVERIFY2(headingVisible(window, anchor), qPrintable(anchor));
    if (context != Help::Contents)
        QVERIFY(window->browser()->verticalScrollBar()->value() > 0);
    QCOMPARE(Help::lastRequest()->context, context);
    QCOMPARE(Help::lastRequest()->anchor, anchor);
}

void TestHelp::unknownContextOpensTop()
{
    Help::showContext(nullptr, 44);
    HelpWindow *window = Help::window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->browser()->verticalScrollBar()->value() > 0);
    Help::showContext(nullptr, 99);
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(window->browser()->verticalScrollBar()->value(), 0);
    QCOMPARE(window->currentAnchor(), QString());
}

void TestHelp::oneWindowServesEveryRequest()
{
    Help::showContext(nullptr, 1);
    HelpWindow *first = Help::window();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->close();
    Help::showContext(nullptr, 24);
    QCOMPARE(Help::window(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->currentAnchor(), QStringLiteral("context-24"));
    // Asking again for a topic already shown scrolls back to it.
    first->browser()->verticalScrollBar()->setValue(0);
    Help::showContext(nullptr, 24);
    QVERIFY(headingVisible(first, QStringLiteral("context-24")));
}

void TestHelp::windowStaysInsideTheScreen()
{
    Help::showContext(nullptr, 1);
    HelpWindow *window = Help::window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect area = window->screen()->availableGeometry();
    QVERIFY(area.contains(window->frameGeometry()));
    // Left with its bottom off the screen, it comes back whole.
    window->move(area.right() - 200, area.bottom() - 200);
    window->close();
    Help::showContext(nullptr, 24);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(area.contains(window->frameGeometry()));
}

void TestHelp::contentsButtonAndHistory()
{
    Help::showContext(nullptr, 44);
    HelpWindow *window = Help::window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *sommaire = window->findChild<QToolButton *>(QStringLiteral("btnSommaire"));
    auto *precedent = window->findChild<QToolButton *>(QStringLiteral("btnPrecedent"));
    auto *suivant = window->findChild<QToolButton *>(QStringLiteral("btnSuivant"));
    QVERIFY(sommaire && precedent && suivant);
    QVERIFY(!precedent->isEnabled());
    QTest::mouseClick(sommaire, Qt::LeftButton);
    QCOMPARE(window->currentAnchor(), QStringLiteral("contents"));
    QVERIFY(headingVisible(window, QStringLiteral("contents")));
    QVERIFY(precedent->isEnabled());
    QTest::mouseClick(precedent, Qt::LeftButton);
    QCOMPARE(window->currentAnchor(), QStringLiteral("context-44"));
    QVERIFY(suivant->isEnabled());
    QTest::mouseClick(suivant, Qt::LeftButton);
    QCOMPARE(window->currentAnchor(), QStringLiteral("contents"));
}

void TestHelp::escapeClosesWindow()
{
    Help::showContents(nullptr);
    HelpWindow *window = Help::window();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->browser(), Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void TestHelp::usableFromModalDialog_data()
{
    QTest::addColumn<bool>("openBefore");
    QTest::addColumn<bool>("dialogAsParent");
    QTest::newRow("first opened from the dialog") << false << true;
    QTest::newRow("already open from the main window") << true << true;
    QTest::newRow("no parent given") << false << false;
}

void TestHelp::usableFromModalDialog()
{
    QFETCH(bool, openBefore);
    QFETCH(bool, dialogAsParent);
    QWidget mainWindow;
    mainWindow.resize(300, 200);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    if (openBefore) {
        Help::showContents(&mainWindow);
        QVERIFY(QTest::qWaitForWindowExposed(Help::window()));
    }
    QDialog dialog(&mainWindow);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.resize(200, 100);
    dialog.show();
    QTRY_VERIFY(dialog.isActiveWindow());

    Help::showContext(dialogAsParent ? &dialog : nullptr, 44);
    HelpWindow *window = Help::window();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // QWindow::isActive() is already true for a child of the active dialog: wait for the
    // window itself.
    QTRY_VERIFY(window->isActiveWindow());
    // Keys reach it through the window system, which drops input to windows a modal dialog
    // blocks: Home must scroll back to the top.
    QScrollBar *bar = window->browser()->verticalScrollBar();
    QVERIFY(bar->value() > 0);
    QTest::keyClick(window->windowHandle(), Qt::Key_Home);
    QTRY_COMPARE(bar->value(), 0);
    dialog.hide();
}

void TestHelp::recordingShowsNothing()
{
    QTemporaryDir dir;
    Help::setHelpFile(dir.filePath(QStringLiteral("absent.hlp")));
    Help::startRecording();
    QVERIFY(!Help::lastRequest().has_value());
    Help::showContext(nullptr, 19);
    QCOMPARE(Help::lastRequest()->context, 19);
    QCOMPARE(Help::lastRequest()->anchor, QStringLiteral("context-19"));
    Help::showContents(nullptr);
    QCOMPARE(Help::lastRequest()->context, int(Help::Contents));
    QVERIFY(Dialogs::shown().isEmpty());
    QVERIFY(Help::window() == nullptr);
    Help::clearLastRequest();
    QVERIFY(!Help::lastRequest().has_value());
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
