#include "StatementSamples.h"

#include "statements/StatementError.h"
#include "statements/StatementReader.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace StatementSamples;

class TestOfxStatement : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString file(const QString &name, const QByteArray &bytes)
    {
        return writtenIn(dir_, name, bytes);
    }

private Q_SLOTS:
    void readsBothVersionsWhateverTheName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1.x SGML, Windows-1252") << "releve.ofx" << ofx1();
        QTest::newRow("2.x XML, UTF-8") << "releve.ofx" << ofx2();
        QTest::newRow("2.x named .qfx") << "RELEVE.QFX" << ofx2();
        QTest::newRow("1.x named .csv") << "export.csv" << ofx1();
    }

    void readsBothVersionsWhateverTheName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const StatementFile f = StatementReader::read(file(name, bytes));
        QCOMPARE(f.format, StatementFile::Format::Ofx);
        QVERIFY(!f.needsColumnChoice());
        QCOMPARE(f.lines.size(), size_t(3));
        QCOMPARE(f.lines[0].date, QDate(2024, 3, 15));
        QCOMPARE(f.lines[0].cents, 2310);
        QCOMPARE(f.lines[0].label,
                 QStringLiteral("VIR CPAM DE LA LOIRE REMB SOINS Réf. 2403150012"));
        QCOMPARE(f.lines[0].bankId, QStringLiteral("FR0001"));
        QCOMPARE(f.lines[0].sourceLine, lineOf(bytes, "<STMTTRN>"));
        // Midnight in Paris is still the 16th, not the 15th in UTC.
        QCOMPARE(f.lines[1].date, QDate(2024, 3, 16));
        QCOMPARE(f.lines[1].cents, -123456);
        QCOMPARE(f.lines[1].label, QStringLiteral("PRLV SEPA EDF"));
        // A minute to midnight UTC: the day the bank wrote.
        QCOMPARE(f.lines[2].date, QDate(2024, 3, 31));
        QCOMPARE(f.lines[2].cents, 705);
        QCOMPARE(f.lines[2].label, QStringLiteral("VIR SEPA MUTUELLE GÉNÉRALE REMBT SOINS"));
        QCOMPARE(f.lines[2].sourceLine, lineOf(bytes, "<STMTTRN>", bytes.lastIndexOf("<STMTTRN>")));
    }

    void amountsAreExactCents_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("one cent") << "0.01" << qint64(1);
        QTest::newRow("0.29 (not 28.999...)") << "-0.29" << qint64(-29);
        QTest::newRow("one decimal") << "19.9" << qint64(1990);
        QTest::newRow("no decimals") << "150" << qint64(15000);
        QTest::newRow("trailing zero decimals") << "4.100" << qint64(410);
        QTest::newRow("large") << "98765432.19" << qint64(9876543219);
        QTest::newRow("decimal comma") << "-12,34" << qint64(-1234);
    }

    void amountsAreExactCents()
    {
        QFETCH(QString, amount);
        QFETCH(qint64, cents);
        const QByteArray bytes = ofx1({{"20240105", amount, "X1", "VIR CPAM", {}}});
        const StatementFile f = StatementReader::read(file("montant.ofx", bytes));
        QCOMPARE(f.lines.size(), size_t(1));
        QCOMPARE(f.lines[0].cents, cents);
    }

    void refusesWithTheLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");

        const QByteArray whole = ofx1();
        const qsizetype second = whole.indexOf("<STMTTRN>", whole.indexOf("</STMTTRN>"));
        const int secondLine = lineOf(whole, "<STMTTRN>", second);
        const QByteArray cutInSecond = whole.left(whole.indexOf("<FITID>FR0002"));
        QTest::newRow("cut inside a transaction")
            << cutInSecond << int(cutInSecond.count('\n')) + 1 << "incomplet";
        const QByteArray cutAfterList = whole.left(whole.indexOf("<LEDGERBAL>"));
        QTest::newRow("cut before </OFX>")
            << cutAfterList << int(cutAfterList.count('\n')) + 1 << "</OFX>";

        auto changed = [&](const QByteArray &from, const QByteArray &to) {
            return QByteArray(whole).replace(from, to);
        };
        QTest::newRow("no amount")
            << changed("<TRNAMT>-1234.56\r\n", "") << secondLine << "<TRNAMT>";
        QTest::newRow("no date") << changed("<DTPOSTED>20240316000000[+1:CET]\r\n", "")
                                 << secondLine << "<DTPOSTED>";
        QTest::newRow("impossible date") << changed("20240316000000", "20241316000000")
                                         << secondLine << "« 20241316000000[+1:CET] »";
        QTest::newRow("amount beyond the cent")
            << changed("-1234.56", "-1234.567") << secondLine << "« -1234.567 »";
        QTest::newRow("amount in words") << changed("-1234.56", "N/A") << secondLine << "« N/A »";
        QTest::newRow("transaction inside another")
            << changed("<FITID>FR0002", "<STMTTRN>\r\n<FITID>FR0002") << secondLine + 4
            << QStringLiteral("ligne %1").arg(secondLine);
        QTest::newRow("tag never closed")
            << changed("<FITID>FR0002", "<FITID FR0002") << secondLine + 4 << "« > »";
        // The library stops taking the transaction's fields at an element it does not know:
        // the FITID would be lost.
        QTest::newRow("unknown element")
            << changed("<FITID>FR0002", "<RIB>1\r\n<FITID>FR0002") << secondLine << "conforme";
        QTest::newRow("binary inside") << changed("PRLV SEPA EDF", QByteArray("PRLV\0\x01", 6))
                                       << secondLine + 5 << "pas du texte";
        QTest::newRow("header only") << whole.left(whole.indexOf("<OFX>")) << 1 << "<OFX>";
    }

    void refusesWithTheLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        try {
            StatementReader::read(file("casse.ofx", bytes));
            QFAIL("read a broken file");
        } catch (const StatementError &e) {
            QCOMPARE(e.line(), line);
            QVERIFY2(e.reason().contains(reason), qPrintable(e.reason()));
            QVERIFY2(e.message().contains(QStringLiteral("« casse.ofx »")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Ligne %1 :").arg(line)),
                     qPrintable(e.message()));
        }
    }

    // Wherever a download or a copy stops, the file is refused, never read in part.
    void everyCutIsRefused()
    {
        for (const QByteArray &whole : {ofx1(), ofx2()}) {
            const qsizetype end = whole.indexOf("</OFX>");
            for (qsizetype cut = 1; cut < end + 5; cut += 3) {
                try {
                    StatementReader::read(file("coupe.ofx", whole.left(cut)));
                    QFAIL(qPrintable(QStringLiteral("cut at %1 was read").arg(cut)));
                } catch (const StatementError &e) {
                    QVERIFY(e.line() >= 1);
                }
            }
        }
    }

    // Random damage to a valid file: every outcome is a list of lines or a French error.
    void damagedFilesNeverCrash()
    {
        QRandomGenerator random(20240401);
        const QByteArray whole = ofx1();
        int read = 0;
        for (int round = 0; round < 150; ++round) {
            QByteArray b = whole;
            for (int n = 1 + random.bounded(4); n > 0 && !b.isEmpty(); --n) {
                const int at = random.bounded(int(b.size()));
                switch (random.bounded(4)) {
                case 0:
                    b[at] = char(random.bounded(256));
                    break;
                case 1:
                    b.remove(at, 1 + random.bounded(30));
                    break;
                case 2:
                    b.insert(at, whole.mid(random.bounded(int(whole.size())), 40));
                    break;
                default:
                    b.insert(at, "<STMTTRN>");
                    break;
                }
            }
            try {
                const StatementFile f = StatementReader::read(file("abime.ofx", b));
                QVERIFY(f.lines.size() <= 4);
                ++read;
            } catch (const StatementError &e) {
                QVERIFY(!e.message().isEmpty());
            }
        }
        QVERIFY(read < 150);
    }
};

QTEST_GUILESS_MAIN(TestOfxStatement)
#include "test_ofx_statement.moc"
