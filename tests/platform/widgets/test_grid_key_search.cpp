#include "platform/widgets/GridKeySearch.h"
#include "support/SampleTable.h"

#include <QTemporaryDir>
#include <QtTest>

using Keys = QList<std::pair<QString, qint64>>; // text typed, at that many milliseconds

// Type-to-search over a table of names in French order, without a window.
class TestGridKeySearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysGoToTheFirstMatchingName_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("found"); // empty: the last key found nothing
        QTest::newRow("one letter") << Keys{{"m", 0}} << "MARTIN";
        QTest::newRow("letters in quick succession") << Keys{{"m", 0}, {"o", 300}} << "MOREAU";
        QTest::newRow("accents and case ignored")
            << Keys{{"é", 0}, {"M", 100}, {"i", 200}} << "ÉMILE";
        QTest::newRow("accented letter typed for a plain one") << Keys{{"ç", 0}} << "CAMUS";
        QTest::newRow("ligature typed as two letters")
            << Keys{{"o", 0}, {"e", 100}, {"u", 200}} << "ŒUVRE";
        QTest::newRow("a pause starts anew") << Keys{{"m", 0}, {"z", 2000}} << "ZOLA";
        QTest::newRow("a dead end tries the letter alone")
            << Keys{{"m", 0}, {"a", 100}, {"z", 200}} << "ZOLA";
        QTest::newRow("no such name") << Keys{{"x", 0}} << "";
        QTest::newRow("blank alone") << Keys{{" ", 0}} << "";
    }
    void keysGoToTheFirstMatchingName()
    {
        QFETCH(Keys, keys);
        QFETCH(QString, found);
        QTemporaryDir dir;
        SampleTable::createIn(dir.path());
        Table table(SampleTable::definition());
        table.setDatabaseName(dir.path());
        table.open();
        for (const char *name : {"ZOLA", "MOREAU", "ÉMILE", "CAMUS", "ŒUVRE", "MARTIN", "EMERY"})
            SampleTable::addRow(table, QString::fromUtf8(name), QDate(2020, 1, 1), 0);
        GridKeySearch search;
        const int nom = table.fieldByName("Nom").index();
        int row = -1;
        for (const auto &[text, at] : keys)
            row = search.keyTyped(table, nom, text, at);
        QCOMPARE(row < 0 ? QString() : table.shownText(row, nom), found);
    }
};

QTEST_MAIN(TestGridKeySearch)
#include "test_grid_key_search.moc"
