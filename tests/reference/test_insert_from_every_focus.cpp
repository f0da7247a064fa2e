#include "reference/ProgramFolder.h"
#include "reference/Typing.h"
#include "reference/WindowDriving.h"

#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"

#include <QAbstractButton>
#include <QTest>

using namespace WindowDriving;

// Insert and the navigator's "+" in the address book and the insured persons' box, after a
// click on a row of the grid and then wherever the user clicks: always one new row, never the
// row clicked overwritten.
class TestInsertFromEveryFocus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init();
    void cleanup();

    void insertAppendsANewRow_data();
    void insertAppendsANewRow();

private:
    ProgramFolder *folder_ = nullptr;
};

void TestInsertFromEveryFocus::init()
{
    Dialogs::startScripting();
    Help::startRecording();
    folder_ = new ProgramFolder;
    QVERIFY(folder_->isValid());
    folder_->createDoctors();
    folder_->createInsured();
    for (const char *name : {"ALBERT", "BERNARD"}) {
        folder_->addDoctor({DoctorFields::Nom}, {name});
        folder_->addInsured({InsuredFields::Nom}, {name});
    }
}

void TestInsertFromEveryFocus::cleanup()
{
    closeAll();
    delete folder_;
    folder_ = nullptr;
    Help::stopRecording();
    Dialogs::stopScripting();
}

void TestInsertFromEveryFocus::insertAppendsANewRow_data()
{
    QTest::addColumn<bool>("doctors"); // else the insured persons
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("navigator");
    const QList<std::pair<bool, const char *>> starts{
        {true, "DBGrilleMedecins"}, {true, "DBchpPrenom"},  {true, "DBchpTel"},
        {false, "DBGrilleAssure"},  {false, "DBchpPrenom"}, {false, "DBchpAyantDr"},
        {false, "chpNomMutuelle"},
    };
    for (bool navigator : {false, true}) {
        for (const auto &[doctors, start] : starts)
            QTest::addRow("%s, %s, %s", doctors ? "book" : "insured", start,
                          navigator ? "+" : "Insert")
                << doctors << QString(start) << navigator;
    }
}

void TestInsertFromEveryFocus::insertAppendsANewRow()
{
    QFETCH(bool, doctors);
    QFETCH(QString, start);
    QFETCH(bool, navigator);
    std::unique_ptr<QDialog> window;
    if (doctors)
        window = std::make_unique<TFrmMedecins>(folder_->path());
    else
        window = std::make_unique<TFrmInfos>(folder_->path());
    show(*window);

    auto *grid = window->findChild<DBGrid *>();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 0)).center());
    QCOMPARE(focused(), grid);
    if (!start.startsWith("DBGrille"))
        QTest::mouseClick(child<QWidget>(*window, start), Qt::LeftButton);
    QCOMPARE(focused()->objectName(), start);

    auto *nav = window->findChild<DBNavigator *>();
    if (navigator)
        QTest::mouseClick(nav->button(DBNavigator::Button::Insert), Qt::LeftButton);
    else
        press(Qt::Key_Insert);
    auto *name = child<QWidget>(*window, "DBchpNom");
    if (focused() != name) // the book's "+" leaves the caret where it was
        QTest::mouseClick(name, Qt::LeftButton);
    Typing::type(focused(), "MOREAU");
    QTest::mouseClick(nav->button(DBNavigator::Button::Post), Qt::LeftButton);

    const QStringList expected{"ALBERT", "BERNARD", "MOREAU"};
    if (doctors)
        QCOMPARE(folder_->doctors({DoctorFields::Nom}), expected);
    else
        QCOMPARE(folder_->insured({InsuredFields::Nom}), expected);
    QVERIFY(Dialogs::shownTexts().isEmpty());
}

QTEST_MAIN(TestInsertFromEveryFocus)
#include "test_insert_from_every_focus.moc"
