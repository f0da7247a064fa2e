#include "support/CsvReadBack.h"

#include "platform/core/CsvWriter.h"

#include <QTemporaryDir>
#include <QTest>

class TestCsvWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellsReadBack_data();
    void cellsReadBack();
    void fileLayout();
};

void TestCsvWriter::cellsReadBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("freeText");
    QTest::addColumn<QString>("read");
    QTest::newRow("plain") << "Dr Blanc" << true << "Dr Blanc";
    QTest::newRow("accents") << "Élise Çava" << true << "Élise Çava";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("quotes") << "dit \"oui\"" << true << "dit \"oui\"";
    QTest::newRow("semicolon") << "a;b" << true << "a;b";
    QTest::newRow("CR LF") << "ligne 1\r\nligne 2" << true << "ligne 1\nligne 2";
    QTest::newRow("LF and quote") << "\"x\"\n;y" << true << "\"x\"\n;y";
    QTest::newRow("formula") << "=1+1" << true << "'=1+1";
    QTest::newRow("plus") << "+33 6 12" << true << "'+33 6 12";
    QTest::newRow("minus") << "-2+3" << true << "'-2+3";
    QTest::newRow("at") << "@SOMME(A1)" << true << "'@SOMME(A1)";
    QTest::newRow("tab") << "\t=1" << true << "'\t=1";
    QTest::newRow("formula in a quoted cell") << "=A1;\"x\"" << true << "'=A1;\"x\"";
    QTest::newRow("negative amount") << "-12,50" << false << "-12,50";
    QTest::newRow("equals further in") << "a=1" << true << "a=1";
}

void TestCsvWriter::cellsReadBack()
{
    QFETCH(QString, text);
    QFETCH(bool, freeText);
    QFETCH(QString, read);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    // The cell between two others, so that a broken quote shows in its neighbours.
    CsvWriter::write(path, {{{"avant", true}, {text, freeText}, {"après", true}}, {{"fin", true}}});
    const QList<QStringList> rows = CsvReadBack::rows(path);
    QCOMPARE(rows, (QList<QStringList>{{"avant", read, "après"}, {"fin"}}));
}

void TestCsvWriter::fileLayout()
{
    const QByteArray bytes = CsvWriter::document({{{"Coût", true}, {"1,50", false}}, {}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF"
                               "Co\xC3\xBBt;1,50\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "test_csv_writer.moc"
