#include "support/CsvReadBack.h"

#include "platform/core/CsvWriter.h"

#include <QTemporaryDir>
#include <QTest>

namespace
{

struct Case {
    const char *name;
    QString text;
    bool freeText;
    QString read; // as a spreadsheet reads it back
};

const QList<Case> &cases()
{
    static const QList<Case> list = {
        {"plain", "Dr Blanc", true, "Dr Blanc"},
        {"accents", "Élise Çava", true, "Élise Çava"},
        {"empty", "", true, ""},
        {"quotes", "dit \"oui\"", true, "dit \"oui\""},
        {"semicolon", "a;b", true, "a;b"},
        {"CR LF", "ligne 1\r\nligne 2", true, "ligne 1\nligne 2"},
        {"LF and quote", "\"x\"\n;y", true, "\"x\"\n;y"},
        {"formula", "=1+1", true, "'=1+1"},
        {"plus", "+33 6 12", true, "'+33 6 12"},
        {"minus", "-2+3", true, "'-2+3"},
        {"at", "@SOMME(A1)", true, "'@SOMME(A1)"},
        {"tab", "\t=1", true, "'\t=1"},
        {"formula in a quoted cell", "=A1;\"x\"", true, "'=A1;\"x\""},
        {"negative amount", "-12,50", false, "-12,50"},
        {"equals further in", "a=1", true, "a=1"},
    };
    return list;
}

} // namespace

class TestCsvWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cellsReadBack_data();
    void cellsReadBack();
    void fileLayout();

private:
    QTemporaryDir dir_;
    QHash<QString, CsvReadBack::Rows> read_; // by case name
};

// Every case written to a file of its own, then all read back by one parser run.
void TestCsvWriter::initTestCase()
{
    QVERIFY(dir_.isValid());
    QStringList paths;
    for (qsizetype i = 0; i < cases().size(); ++i) {
        const Case &c = cases()[i];
        const QString path = dir_.filePath(QStringLiteral("case%1.csv").arg(i));
        // The cell between two others, so that a broken quote shows in its neighbours.
        CsvWriter::write(
            path, {{{"avant", true}, {c.text, c.freeText}, {"après", true}}, {{"fin", true}}});
        paths.append(path);
    }
    const QHash<QString, CsvReadBack::Rows> files = CsvReadBack::files(paths);
    for (qsizetype i = 0; i < cases().size(); ++i)
        read_.insert(QLatin1String(cases()[i].name), files.value(paths[i]));
}

void TestCsvWriter::cellsReadBack_data()
{
    QTest::addColumn<QString>("read");
    for (const Case &c : cases())
        QTest::newRow(c.name) << c.read;
}

void TestCsvWriter::cellsReadBack()
{
    QFETCH(QString, read);
    QCOMPARE(read_.value(QLatin1String(QTest::currentDataTag())),
             (CsvReadBack::Rows{{"avant", read, "après"}, {"fin"}}));
}

void TestCsvWriter::fileLayout()
{
    const QByteArray bytes = CsvWriter::document({{{"Coût", true}, {"1,50", false}}, {}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF"
                               "Co\xC3\xBBt;1,50\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "test_csv_writer.moc"
