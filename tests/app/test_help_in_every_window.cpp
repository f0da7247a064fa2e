#include "MainWindowFixture.h"

#include "platform/widgets/HelpWindow.h"
#include "safety/ModalDriver.h"

#include <QAction>
#include <QTextBlock>
#include <QTextDocument>

namespace
{

// The help file the installation puts beside the program.
QTextDocument &helpDocument()
{
    static QTextDocument document;
    if (document.isEmpty()) {
        QFile file(QFINDTESTDATA("../../resources/help/Talo.hlp"));
        if (file.open(QIODevice::ReadOnly))
            document.setHtml(QString::fromUtf8(file.readAll()));
    }
    return document;
}

// The words of the section that `anchor` opens, up to the next section.
QString sectionWords(const QString &anchor)
{
    const QTextDocument &document = helpDocument();
    QString text;
    bool inside = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool opens = false;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            opens = opens || it.fragment().charFormat().anchorNames().contains(anchor);
        if (inside && block.blockFormat().headingLevel() == 2)
            break;
        inside = inside || opens;
        if (inside)
            text += block.text() + QLatin1Char('\n');
    }
    return text.simplified();
}

} // namespace

// F1 in each window the menus open lands on that window's own section of the help file, and
// that section is there and says something: a window added without its help, or a section
// renamed under the program, is caught here.
class TestHelpInEveryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init() { QVERIFY(f.prepare()); }
    void cleanup() { f.finish(); }

    void f1InEachWindow_data();
    void f1InEachWindow();
    void f1InTheMainWindow_data();
    void f1InTheMainWindow();

private:
    MainWindowFixture f;
};

void TestHelpInEveryWindow::f1InEachWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("caption"); // the window's name, which its section holds
    const auto row = [](const char *command, const char *window, int context, const char *caption) {
        QTest::newRow(command) << QString::fromLatin1(command) << QString::fromLatin1(window)
                               << context << QString::fromUtf8(caption);
    };
    row("mnuInformations", "TFrmInfos", 1, "Informations générales");
    row("mnuMedecins", "TFrmMedecins", 1, "Carnet d'adresses médicales");
    row("mnuBeneficiaires", "TFrmGestionListe", 45, "Gestion des bénéficiaires");
    row("mnuPasse", "TfrmCreationPasse", 19, "Création du mot de passe");
    row("mnuSauvegarder", "TFrmSauvegarder", 44, "Créer une copie de sauvegarde");
    row("mnuExporter", "TFrmExporter", 46, "Exporter vers un tableur");
    row("mnuRestaurer", "TFrmRestaurer", 47, "Restaurer une copie de sauvegarde");
    row("mnuSuivi", "TFrmSuiviRemboursements", 60, "Suivi des remboursements");
    row("mnuBilan", "TFrmBilanAnnuel", 61, "Bilan annuel");
    row("mnuApropos", "TfrmApropos", 49, "A propos de Talo 3.0");
    row("mnuApercu", "ReportPreviewDialog", 50, "La fenêtre d'aperçu");
    row("mnuRechercher", "TFrmRechercher", 62, "Rechercher un soin");
    row("mnuPieces", "TFrmPiecesJointes", 64, "Pièces jointes");
}

void TestHelpInEveryWindow::f1InEachWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(int, context);
    QFETCH(QString, caption);
    // The proofs' window is of the entry in view: there must be one.
    f.seed({{CareFields::DateSoins, "01/02/24"},
            {CareFields::Beneficiaire, "MARTIN"},
            {CareFields::Cout, "30"}});
    QVERIFY(f.start(true));
    QString opened;
    bool stayedOpen = false;
    ModalDriver driver([&](QDialog &dialog) {
        opened = dialog.objectName();
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &dialog, Qt::Key_F1);
        stayedOpen = dialog.isVisible();
        dialog.reject();
    });
    f.child<QAction>(command)->trigger();
    QVERIFY(driver.fired());
    QCOMPARE(opened, window);
    QVERIFY(stayedOpen);
    QVERIFY2(Help::lastRequest().has_value(), "F1 opened no help");
    // The address book and the insurance window open with the caret in a field, not the grid.
    QCOMPARE(Help::lastRequest()->context, context);
    const QString anchor = Help::lastRequest()->anchor;
    const QString words = sectionWords(anchor);
    QVERIFY2(words.contains(caption), qPrintable(anchor + QStringLiteral(": ") + words.left(80)));
    QVERIFY2(words.size() > caption.size() + 200, qPrintable(anchor));
}

void TestHelpInEveryWindow::f1InTheMainWindow_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("grid") << "DBGrille"
                          << "context-24";
    QTest::newRow("entry page") << "DBDateSoins"
                                << "context-25";
    QTest::newRow("year selector") << "lstListeAnnee"
                                   << "contents";
}

void TestHelpInEveryWindow::f1InTheMainWindow()
{
    QFETCH(QString, focus);
    QFETCH(QString, anchor);
    QVERIFY(f.start(true));
    QWidget *target = f.child<QWidget>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    f.press(Qt::Key_F1);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->anchor, anchor);
    QVERIFY(sectionWords(anchor).size() > 200);
}

QTEST_MAIN(TestHelpInEveryWindow)
#include "test_help_in_every_window.moc"
