#include "import/CsvColumnDialog.h"
#include "statements/CsvTable.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

// The columns of an unrecognised CSV statement as the person points at them.
class TestCsvColumnDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choiceFollowsTheBoxes_data()
    {
        QTest::addColumn<QList<int>>("picked"); // date, label, amount, debit, credit (-1 none)
        QTest::addColumn<int>("first");         // record of the first operation, from 1
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("headerLine");
        QTest::addColumn<int>("firstDataLine");
        QTest::newRow("signed amount") << QList<int>{0, 2, 3, -1, -1} << 3 << true << 2 << 3;
        QTest::newRow("debit and credit, rows from the start")
            << QList<int>{0, 1, -1, 3, 4} << 1 << true << 0 << 1;
        QTest::newRow("credit missing") << QList<int>{0, 1, -1, 3, -1} << 2 << false << 1 << 2;
        QTest::newRow("no date") << QList<int>{-1, 1, 2, -1, -1} << 2 << false << 1 << 2;
    }
    void choiceFollowsTheBoxes()
    {
        QFETCH(QList<int>, picked);
        QFETCH(int, first);
        QFETCH(bool, complete);
        QFETCH(int, headerLine);
        QFETCH(int, firstDataLine);
        StatementFile file;
        file.path = QStringLiteral("/x/export.csv");
        // The bank's heading, titles nobody recognises, two rows.
        file.table = CsvTable::parse(QStringLiteral("Compte 123;;;;\nA;B;C;D;E\n"
                                                    "01/06/2025;VIR CPAM;x;19,00;\n"
                                                    "02/06/2025;EDF;x;;-54,20\n"));
        CsvColumnDialog d(file);
        const char *names[] = {"lstDate", "lstLibelle", "lstMontant", "lstDebit", "lstCredit"};
        for (int i = 0; i < 5; ++i)
            d.findChild<QComboBox *>(QLatin1String(names[i]))->setCurrentIndex(picked[i] + 1);
        d.findChild<QSpinBox *>(QStringLiteral("edtDebut"))->setValue(first);
        QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("btnValider"))->isEnabled(), complete);
        const CsvColumnChoice c = d.choice();
        QCOMPARE(c.isComplete(), complete);
        QCOMPARE(c.date, picked[0]);
        QCOMPARE(c.headerLine, headerLine);
        QCOMPARE(c.firstDataLine, firstDataLine);
        // A signed amount leaves debit and credit unused.
        if (picked[2] >= 0)
            QCOMPARE(c.debit, -1);
        if (qEnvironmentVariableIsSet("TALO_KEEP_SHOTS"))
            d.grab().save(qEnvironmentVariable("TALO_KEEP_SHOTS") +
                          QStringLiteral("/%1.png").arg(QTest::currentDataTag()));
    }
};

QTEST_MAIN(TestCsvColumnDialog)
#include "test_csv_column_dialog.moc"
