#include "reference/ProgramFolder.h"
#include "reference/Typing.h"
#include "reference/WindowDriving.h"

#include "platform/store/BatchMove.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/TFrmMedecins.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using namespace DoctorFields;
using namespace WindowDriving;

class TestMedecinsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void captionSizeAndFont();
    void toolBarButtonsAndHints_data();
    void toolBarButtonsAndHints();
    void gridAndNavigator();
    void gridShowsWholeNumbersAndTakesTheHeight();
    void fieldsLabelsAndRows();
    void tabOrderOfFields();
    void showingGoesToLastDoctorAndFocusesName();
    void printButtonsCallHandler();
    void helpContexts();
    void missingTableShownAndWindowStillWorks();
    void backupCopyGoesToCopyTable();
    void survivesRestart();

private:
    void focusAndType(TFrmMedecins &window, const QString &edit, const QString &text);

    ProgramFolder *folder_ = nullptr;
};

void TestMedecinsWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestMedecinsWindow::init()
{
    Dialogs::startScripting();
    Help::startRecording();
    folder_ = new ProgramFolder;
    QVERIFY(folder_->isValid());
    folder_->createDoctors();
}

void TestMedecinsWindow::cleanup()
{
    closeAll();
    delete folder_;
    folder_ = nullptr;
    Help::stopRecording();
    Dialogs::stopScripting();
}

void TestMedecinsWindow::focusAndType(TFrmMedecins &window, const QString &edit,
                                      const QString &text)
{
    // As Tab or Enter bring the caret there: the whole text selected.
    auto *widget = child<DBEdit>(window, edit);
    widget->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused(), widget);
    Typing::type(widget, text);
}

void TestMedecinsWindow::captionSizeAndFont()
{
    TFrmMedecins window(folder_->path());
    QCOMPARE(window.objectName(), QStringLiteral("TFrmMedecins"));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Talo 3.0 - Carnet d'adresses médicales"));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    show(window);
    QCOMPARE(window.size(), QSize(426, 318));
    QCOMPARE(window.minimumSize(), QSize(426, 318));
    QCOMPARE(window.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(window.font().pointSize(), 8);
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestMedecinsWindow::toolBarButtonsAndHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("btnImprimer") << "btnImprimer"
                                 << "Imprimer document";
    QTest::newRow("btnApercu") << "btnApercu"
                               << "Aperçu document";
    QTest::newRow("btnAide") << "btnAide"
                             << "Aide sur carnet d'adresses";
    QTest::newRow("BtnQuitter") << "BtnQuitter"
                                << "Quitter carnet d'adresses";
}

void TestMedecinsWindow::toolBarButtonsAndHints()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    TFrmMedecins window(folder_->path());
    show(window);
    auto *bar = child<QWidget>(window, "BarreIcones");
    QCOMPARE(bar->height(), 33);
    QCOMPARE(bar->geometry().top(), 0);
    QCOMPARE(bar->width(), window.width());
    auto *button = child<QToolButton>(window, name);
    QVERIFY(bar->isAncestorOf(button));
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    // Left to right in the listed order.
    const QStringList order{"btnImprimer", "btnApercu", "btnAide", "BtnQuitter"};
    const int index = int(order.indexOf(name));
    if (index > 0)
        QVERIFY(child<QToolButton>(window, order[index - 1])->x() < button->x());
}

void TestMedecinsWindow::gridAndNavigator()
{
    TFrmMedecins window(folder_->path());
    show(window);
    auto *grid = child<DBGrid>(window, "DBGrilleMedecins");
    QVERIFY(grid->hasRowIndicator());
    QCOMPARE(grid->helpContext(), 24);
    QVERIFY(!(grid->focusPolicy() & Qt::TabFocus));
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles.append(grid->model()->headerData(c, Qt::Horizontal).toString());
    QCOMPARE(titles, (QStringList{"Nom", "Prénom", "Spécialité", "Téléphone"}));

    auto *nav = child<DBNavigator>(window, "navMedecins");
    QCOMPARE(nav->table(), &window.tableMedecins());
    for (DBNavigator::Button button : DBNavigator::allButtons())
        QVERIFY(nav->button(button)->isVisible());
    QVERIFY(grid->geometry().bottom() < nav->geometry().top());
}

void TestMedecinsWindow::gridShowsWholeNumbersAndTakesTheHeight()
{
    for (int i = 0; i < 30; ++i)
        folder_->addDoctor({Nom, Prenom, Specialite, Tel},
                           {QString("MARTIN-DUPONTEL%1").arg(i), "Jean-Baptiste", "Ophtalmologiste",
                            "04-77-12-34-56"});
    TFrmMedecins window(folder_->path());
    show(window);
    auto *grid = child<DBGrid>(window, "DBGrilleMedecins");
    const int phone = grid->fontMetrics().horizontalAdvance("04-77-12-34-56");
    QVERIFY(grid->columnWidth(3) >= phone + 6);
    QVERIFY(!grid->horizontalScrollBar()->isVisible());

    // A taller window gives its height to the grid, not to the fields.
    auto *name = child<DBEdit>(window, "DBchpNom");
    const int rows = grid->rowsPerPage();
    const int fieldsHeight = window.height() - name->geometry().top();
    window.resize(window.width(), window.height() + 200);
    QTRY_COMPARE(window.height(), 518);
    QVERIFY(grid->rowsPerPage() >= rows + 8);
    QCOMPARE(window.height() - name->geometry().top(), fieldsHeight);
}

void TestMedecinsWindow::fieldsLabelsAndRows()
{
    TFrmMedecins window(folder_->path());
    show(window);
    const QList<std::pair<QString, QString>> labels{{"DBchpNom", "Nom :"},
                                                    {"DBchpPrenom", "Prénom :"},
                                                    {"DBchpSpecialite", "Spécialité :"},
                                                    {"DBchpAdresse", "Adresse :"},
                                                    {"DBchpVille", "Ville :"},
                                                    {"DBchpCodePostal", "Code postal :"},
                                                    {"DBchpTel", "N° tél. :"}};
    for (const auto &[name, text] : labels) {
        auto *edit = child<DBEdit>(window, name);
        QLabel *label = nullptr;
        for (QLabel *candidate : window.findChildren<QLabel *>())
            if (candidate->buddy() == edit)
                label = candidate;
        QVERIFY2(label != nullptr, qPrintable(name));
        QCOMPARE(label->text(), text);
        QVERIFY2(label->geometry().right() < edit->geometry().left(), qPrintable(name));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
        QVERIFY2(window.rect().contains(edit->geometry()), qPrintable(name));
    }
    // Four rows under the navigator: Nom and Prénom; Spécialité; Adresse and Ville; Code
    // postal and N° tél.
    auto y = [&](const char *name) { return child<DBEdit>(window, name)->geometry().center().y(); };
    QCOMPARE(y("DBchpNom"), y("DBchpPrenom"));
    QVERIFY(y("DBchpNom") < y("DBchpSpecialite"));
    QVERIFY(y("DBchpSpecialite") < y("DBchpAdresse"));
    QCOMPARE(y("DBchpAdresse"), y("DBchpVille"));
    QVERIFY(y("DBchpAdresse") < y("DBchpCodePostal"));
    QCOMPARE(y("DBchpCodePostal"), y("DBchpTel"));
    QVERIFY(child<DBNavigator>(window, "navMedecins")->geometry().bottom() <
            child<DBEdit>(window, "DBchpNom")->geometry().top());
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->charCase(), DBEdit::CharCase::Upper);
    QCOMPARE(child<DBEdit>(window, "DBchpCodePostal")->editMask(), QStringLiteral("!00000;1;_"));
    QCOMPARE(child<DBEdit>(window, "DBchpTel")->editMask(),
             QStringLiteral("!00\\-00\\-00\\-00\\-00;1;_"));
}

void TestMedecinsWindow::tabOrderOfFields()
{
    folder_->addDoctor({Nom}, {"DUPONT"});
    TFrmMedecins window(folder_->path());
    show(window);
    const QStringList order{"DBchpNom",   "DBchpPrenom",     "DBchpSpecialite", "DBchpAdresse",
                            "DBchpVille", "DBchpCodePostal", "DBchpTel",        "DBchpNom"};
    QCOMPARE(focused()->objectName(), order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        press(Qt::Key_Tab);
        QCOMPARE(focused()->objectName(), order[i]);
    }
}

void TestMedecinsWindow::showingGoesToLastDoctorAndFocusesName()
{
    folder_->addDoctor({Nom, Prenom}, {"MARTIN", "Claire"});
    folder_->addDoctor({Nom, Prenom}, {"BERNARD", "Luc"});
    folder_->addDoctor({Nom, Prenom}, {"MARTIN", "Anne"});
    TFrmMedecins window(folder_->path());
    show(window);
    QCOMPARE(child<DBEdit>(window, "DBchpNom")->text(), QStringLiteral("MARTIN"));
    QCOMPARE(child<DBEdit>(window, "DBchpPrenom")->text(), QStringLiteral("Claire"));
    QCOMPARE(focused()->objectName(), QStringLiteral("DBchpNom"));
    // Each opening goes to the last doctor again.
    window.tableMedecins().first();
    window.close();
    show(window);
    QCOMPARE(window.tableMedecins().fieldByName(Prenom).asString(), QStringLiteral("Claire"));
}

void TestMedecinsWindow::printButtonsCallHandler()
{
    TFrmMedecins window(folder_->path());
    show(window);
    // Nothing set: the buttons do nothing.
    QTest::mouseClick(child<QToolButton>(window, "btnImprimer"), Qt::LeftButton);
    QList<bool> calls;
    window.setPrintHandler([&calls](ReportCommand::Output output) {
        calls.append(output == ReportCommand::Output::Preview);
    });
    QTest::mouseClick(child<QToolButton>(window, "btnImprimer"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(window, "btnApercu"), Qt::LeftButton);
    QCOMPARE(calls, (QList<bool>{false, true}));
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestMedecinsWindow::helpContexts()
{
    TFrmMedecins window(folder_->path());
    show(window);
    QTest::mouseClick(child<QToolButton>(window, "btnAide"), Qt::LeftButton);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 1);
    Help::clearLastRequest();
    child<DBGrid>(window, "DBGrilleMedecins")->setFocus();
    press(Qt::Key_F1);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 24);
}

void TestMedecinsWindow::missingTableShownAndWindowStillWorks()
{
    QVERIFY(QFile::remove(folder_->filePath("MEDECINS.DB")));
    TFrmMedecins window(folder_->path());
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QVERIFY2(Dialogs::shown().first().text.contains("MEDECINS.DB"),
             qPrintable(Dialogs::shown().first().text));
    QVERIFY(!window.tableMedecins().isActive());
    show(window);
    QVERIFY(!child<DBEdit>(window, "DBchpNom")->isEnabled());
    QVERIFY(!child<DBNavigator>(window, "navMedecins")->isEnabled());
    for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape})
        QTest::keyClick(&window, key);
    QCOMPARE(Dialogs::shown().size(), 1);
    QVERIFY(window.isVisible());
    QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestMedecinsWindow::backupCopyGoesToCopyTable()
{
    folder_->addDoctor({Nom, Tel}, {"DUPONT", "04-78-00-00-01"});
    QTemporaryDir backup;
    TFrmMedecins window(folder_->path());
    QCOMPARE(window.tableCopieMedecins().definition().fileName(), QStringLiteral("MEDECINS.DB"));
    window.tableCopieMedecins().setDatabaseName(backup.path());
    window.copieMedecins().execute();
    Table copy(DoctorTable::definition());
    copy.setDatabaseName(backup.path());
    copy.open();
    QCOMPARE(copy.recordCount(), 1);
    QCOMPARE(copy.fieldByName(Tel).asString(), QStringLiteral("04-78-00-00-01"));
}

void TestMedecinsWindow::survivesRestart()
{
    {
        TFrmMedecins window(folder_->path());
        show(window);
        press(Qt::Key_Insert);
        Typing::type(focused(), "martin");
        press(Qt::Key_Return);
        Typing::type(focused(), "claire");
        focusAndType(window, "DBchpCodePostal", "69001");
        press(Qt::Key_Return);
        Typing::type(focused(), "0478000001");
        press(Qt::Key_Return);
        QVERIFY(Dialogs::shown().isEmpty());
        window.close();
    }
    TFrmMedecins again(folder_->path());
    show(again);
    QCOMPARE(child<DBEdit>(again, "DBchpNom")->text(), QStringLiteral("MARTIN"));
    QCOMPARE(child<DBEdit>(again, "DBchpPrenom")->text(), QStringLiteral("Claire"));
    QCOMPARE(child<DBEdit>(again, "DBchpCodePostal")->storedValue(), QStringLiteral("69001"));
    QCOMPARE(child<DBEdit>(again, "DBchpTel")->storedValue(), QStringLiteral("04-78-00-00-01"));
}

QTEST_MAIN(TestMedecinsWindow)
#include "test_medecins_window.moc"
