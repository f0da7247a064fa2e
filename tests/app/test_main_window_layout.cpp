#include "MainWindowFixture.h"

#include <QHeaderView>
#include <QStatusBar>
#include <QTabWidget>

using namespace CareFields;

// The main window's layout: the status panels at the window's smallest size, the captions the
// entry pages share at one place.
class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MainWindowFixture::pinConventions(); }
    void init();
    void cleanup() { f.finish(); }

    void smallestWindowKeepsPanelsReadable();
    void pagesShareCaptionPlaces_data();
    void pagesShareCaptionPlaces();

private:
    MainWindowFixture f;
};

void TestMainWindowLayout::init()
{
    QVERIFY(f.prepare());
    f.putFile("LSTBENEF.LST", "TOUS\r\nMARTIN\r\n");
}

void TestMainWindowLayout::smallestWindowKeepsPanelsReadable()
{
    f.seed({{DateSoins, "01/02/24"},
            {Beneficiaire, "MARTIN"},
            {Cout, "99999,99"},
            {MontantCPAM, "99999,99"},
            {MontantMutuelle, "99999,99"}});
    QVERIFY(f.start());
    TFrmPrincipale &window = f.main();
    window.resize(500, 300);
    QTRY_COMPARE(window.size(), window.minimumSize());
    QCOMPARE(window.minimumHeight(), 480);
    QVERIFY(window.minimumWidth() >= 640);
    QRect previous;
    for (int i = 0; i < 4; ++i) {
        auto *panel = f.child<QLabel>(QStringLiteral("BarreEtatPanneau%1").arg(i));
        const QRect place = panel->geometry();
        QVERIFY(place.left() > previous.right());
        QVERIFY(panel->mapTo(&window, QPoint(panel->width(), 0)).x() <= window.width());
        QVERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <=
                     panel->contentsRect().width(),
                 qPrintable(panel->text()));
        previous = place;
    }
}

void TestMainWindowLayout::pagesShareCaptionPlaces_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("date") << "Date de rembours. :";
    QTest::newRow("amount") << "Montant :";
}

void TestMainWindowLayout::pagesShareCaptionPlaces()
{
    QFETCH(QString, caption);
    QVERIFY(f.start());
    auto *pages = f.child<QTabWidget>("OngletsSaisie");
    QList<QRect> places;
    for (int page : {1, 2}) {
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(page).center());
        for (QLabel *label : pages->widget(page)->findChildren<QLabel *>()) {
            if (label->text() == caption)
                places.append(label->geometry());
        }
    }
    QCOMPARE(places.size(), 2);
    QCOMPARE(places[0], places[1]);
}

QTEST_MAIN(TestMainWindowLayout)
#include "test_main_window_layout.moc"
