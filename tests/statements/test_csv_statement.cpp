#include "StatementSamples.h"

#include "platform/core/PrivateProfile.h"
#include "statements/CsvColumnMemory.h"
#include "statements/CsvValues.h"
#include "statements/StatementError.h"
#include "statements/StatementReader.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace StatementSamples;

namespace
{
const QString nbsp = QString(QChar(0x00A0));
const QString narrowNbsp = QString(QChar(0x202F));

QByteArray utf8Bom(const QString &text)
{
    return "\xEF\xBB\xBF" + text.toUtf8();
}

// A statement with its account's details before the table and a balance after it.
QString semicolonStatement()
{
    return QStringLiteral("Compte courant n° 00012345678\r\nSolde au 31/03/2024;1 523,42\r\n\r\n"
                          "Date;Libellé;Montant\r\n"
                          "15/03/2024;VIR CPAM DE LA LOIRE REMB SOINS;23,10\r\n"
                          "16/03/2024;PRLV SEPA MUTUELLE GÉNÉRALE;-1") +
           nbsp +
           QStringLiteral("234,56\r\n31/03/2024;VIR SEPA MUTUELLE GÉNÉRALE REMBT;+7,05\r\n"
                          "\r\nSolde final;;1 523,42\r\n");
}
} // namespace

class TestCsvStatement : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString file(const QString &name, const QByteArray &bytes)
    {
        return writtenIn(dir_, name, bytes);
    }

private Q_SLOTS:
    void readsWhatBanksWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("firstLabel");
        QTest::addColumn<int>("firstLine");
        QTest::addColumn<QString>("encoding");

        QTest::newRow("; UTF-8 with mark, lines before and after")
            << utf8Bom(semicolonStatement()) << "VIR CPAM DE LA LOIRE REMB SOINS" << 5 << "UTF-8";
        QTest::newRow("; Windows-1252, CR only")
            << *Windows1252::encode(
                   semicolonStatement().replace(QStringLiteral("\r\n"), QStringLiteral("\r")))
            << "VIR CPAM DE LA LOIRE REMB SOINS" << 5 << "Windows-1252";
        QTest::newRow(", quoted, Débit/Crédit, Windows-1252")
            << *Windows1252::encode(
                   QStringLiteral(
                       "\"Date opération\",\"Date valeur\",\"Libellé\",\"Débit\",\"Crédit\"\n"
                       "\"15/03/2024\",\"18/03/2024\",\"VIR CPAM DE LA LOIRE, REMB "
                       "SOINS\",,\"23,10\"\n"
                       "\"16/03/2024\",\"16/03/2024\",\"PRLV SEPA MUTUELLE GÉNÉRALE\",\"1") +
                   nbsp +
                   QStringLiteral("234,56\",\n"
                                  "\"31/03/2024\",\"01/04/2024\",\"VIR SEPA MUTUELLE GÉNÉRALE "
                                  "REMBT\",,\"7,05\"\n"))
            << "VIR CPAM DE LA LOIRE, REMB SOINS" << 2 << "Windows-1252";
        QTest::newRow("tab, value date first, two-digit years, UTF-8 without mark")
            << QStringLiteral("Date de valeur\tDate\tDescription\tMontant(EUROS)\n"
                              "17/03/24\t15/03/24\tVIR CPAM DE LA LOIRE REMB SOINS\t23,10\n"
                              "16/03/24\t16/03/24\tPRLV SEPA MUTUELLE GÉNÉRALE\t-1")
                       .toUtf8() +
                   narrowNbsp.toUtf8() +
                   QStringLiteral(
                       "234,56\n02/04/24\t31/03/24\tVIR SEPA MUTUELLE GÉNÉRALE REMBT\t7,05 €\n")
                       .toUtf8()
            << "VIR CPAM DE LA LOIRE REMB SOINS" << 2 << "UTF-8";
        QTest::newRow("; signed Débit, quotes and a line break in a label")
            << QStringLiteral("Date;Libelle;Debit;Credit\n"
                              "15/03/2024;\"VIR CPAM; \"\"LOIRE\"\"\nREMB SOINS\";;+23,10\n"
                              "16/03/2024;PRLV SEPA MUTUELLE GÉNÉRALE;-1.234,56;\n"
                              "31/03/2024;VIR SEPA MUTUELLE GÉNÉRALE REMBT;;7.05\n")
                   .toUtf8()
            << "VIR CPAM; \"LOIRE\" REMB SOINS" << 2 << "UTF-8";
    }

    void readsWhatBanksWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, firstLabel);
        QFETCH(int, firstLine);
        QFETCH(QString, encoding);
        const StatementFile f = StatementReader::read(file("releve.csv", bytes));
        QCOMPARE(f.format, StatementFile::Format::Csv);
        QCOMPARE(f.encoding, encoding);
        QVERIFY(!f.needsColumnChoice());
        QCOMPARE(f.lines.size(), size_t(3));
        QCOMPARE(f.lines[0].date, QDate(2024, 3, 15));
        QCOMPARE(f.lines[0].cents, 2310);
        QCOMPARE(f.lines[0].label, firstLabel);
        QCOMPARE(f.lines[0].sourceLine, firstLine);
        QCOMPARE(f.lines[1].date, QDate(2024, 3, 16));
        QCOMPARE(f.lines[1].cents, -123456);
        QCOMPARE(f.lines[1].label, QStringLiteral("PRLV SEPA MUTUELLE GÉNÉRALE"));
        QCOMPARE(f.lines[2].date, QDate(2024, 3, 31));
        QCOMPARE(f.lines[2].cents, 705);
        QVERIFY(f.lines[2].bankId.isEmpty());
    }

    void values_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("cents"); // -1 for "not an amount"
        QTest::newRow("comma") << "12,5" << qint64(1250);
        QTest::newRow("minus, blanks") << "- 1 234,56" << qint64(-123456);
        QTest::newRow("U+2212") << QString(QChar(0x2212)) + QStringLiteral("3,00") << qint64(-300);
        QTest::newRow("points for thousands") << "1.234.567,89" << qint64(123456789);
        QTest::newRow("point with three digits is thousands") << "1.234" << qint64(123400);
        QTest::newRow("EUR") << "15,00 EUR" << qint64(1500);
        QTest::newRow("three decimals") << "1,005" << qint64(-1);
        QTest::newRow("two commas") << "1,2,3" << qint64(-1);
        QTest::newRow("bad group") << "12.34.567" << qint64(-1);
        QTest::newRow("letters") << "12a" << qint64(-1);
        QTest::newRow("sign only") << "-" << qint64(-1);
        QTest::newRow("too many digits") << "12345678901234,00" << qint64(-1);
    }

    void values()
    {
        QFETCH(QString, text);
        QFETCH(qint64, cents);
        const auto value = CsvValues::amount(text);
        if (cents == -1)
            QVERIFY(!value);
        else
            QCOMPARE(value.value_or(-1), cents);
    }

    void dates()
    {
        QCOMPARE(CsvValues::date(u"5/3/24"), QDate(2024, 3, 5));
        QCOMPARE(CsvValues::date(u"05.03.2024"), QDate(2024, 3, 5));
        QCOMPARE(CsvValues::date(u"2024-03-05"), QDate(2024, 3, 5));
        QCOMPARE(CsvValues::date(u"05/03/2024 00:00:00"), QDate(2024, 3, 5));
        QVERIFY(!CsvValues::date(u"31/02/2024"));
        QVERIFY(!CsvValues::date(u"05/03-2024"));
        QVERIFY(!CsvValues::date(u"2024"));
    }

    void refusesWithTheLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray head = "Date;Libell\xC3\xA9;Montant\n15/03/2024;VIR CPAM;23,10\n";
        QTest::newRow("impossible date") << head + "32/03/2024;VIR X;1,00\n"
                                         << 3 << "« 32/03/2024 »";
        QTest::newRow("not an amount") << head + "16/03/2024;VIR X;1,0,0\n" << 3 << "« 1,0,0 »";
        QTest::newRow("no amount") << head + "16/03/2024;VIR X;\n" << 3 << "montant";
        QTest::newRow("row cut short") << head + "16/03/2024;VIR X" << 3 << "tronquée";
        QTest::newRow("quote never closed")
            << head + "16/03/2024;\"VIR X;1,00\n17/03/2024;VIR Y;2,00\n"
            << 3 << "guillemet";
        QTest::newRow("line without date between operations")
            << head + ";VIR X;1,00\n17/03/2024;VIR Y;2,00\n"
            << 3 << "date";
        QTest::newRow("titles and nothing else")
            << QByteArray("Date;Libell\xC3\xA9;Montant\n") << 1 << "aucune opération";
        QTest::newRow("debit and credit")
            << QByteArray("Date;Libelle;Debit;Credit\n15/03/2024;X;;1,00\n16/03/2024;Y;2,00;3,00\n")
            << 3 << "à la fois";
        QTest::newRow("not text") << head + QByteArray("16/03/2024;\x00\x01;1,00\n", 20) << 3
                                  << "pas du texte";
        QTest::newRow("a letter") << QByteArray("Madame,\n\nVoici mon relevé.\n") << 1
                                  << "ni un relevé OFX ni un relevé CSV";
    }

    void refusesWithTheLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        try {
            StatementReader::read(file("casse.csv", bytes));
            QFAIL("read a broken file");
        } catch (const StatementError &e) {
            QVERIFY2(e.reason().contains(reason), qPrintable(e.reason()));
            QCOMPARE(e.line(), line);
            QVERIFY(e.message().contains(QStringLiteral("Ligne %1 :").arg(line)));
            QVERIFY(e.message().contains(QStringLiteral("« casse.csv »")));
        }
    }

    void emptyOrMissingFile()
    {
        QVERIFY_THROWS_EXCEPTION(StatementError,
                                 StatementReader::read(file("vide.csv", "\r\n  \r\n")));
        try {
            StatementReader::read(dir_.filePath("absent.csv"));
            QFAIL("read a missing file");
        } catch (const StatementError &e) {
            QVERIFY(e.message().contains(QStringLiteral("« absent.csv » ne peut pas être ouvert")));
        }
    }

    // Titles the reader does not know: the person says which column is which once, and the
    // next statement of that bank (another preamble, other rows) is read without asking.
    void columnsChosenOnceAreRemembered()
    {
        const QString ini = dir_.filePath("talo.ini");
        PrivateProfile::writeString(ini, QStringLiteral("Options"), QStringLiteral("Passe"),
                                    QStringLiteral("x"));
        const CsvColumnMemory memory(ini);

        const QByteArray march = "Banque du Forez\nJour;Somme;Ce qui s'est pass\xC3\xA9\n"
                                 "15/03/2024;23,10;VIR CPAM DE LA LOIRE REMB SOINS\n"
                                 "16/03/2024;-5,00;PRLV\n";
        StatementFile f = StatementReader::read(file("mars.csv", march), &memory);
        QVERIFY(f.needsColumnChoice());
        QVERIFY(f.lines.empty());
        QCOMPARE(f.table.rows().at(1).cells.at(2), QStringLiteral("Ce qui s'est passé"));

        CsvColumnChoice choice;
        choice.headerLine = 2;
        choice.firstDataLine = 3;
        choice.date = 0;
        choice.amount = 1;
        choice.label = 2;
        f = StatementReader::withColumns(std::move(f), choice);
        QCOMPARE(f.lines.size(), size_t(2));
        QCOMPARE(f.lines[0].label, QStringLiteral("VIR CPAM DE LA LOIRE REMB SOINS"));
        memory.remember(f.table, choice);

        const QByteArray april =
            "Banque du Forez\nCompte 123\n\nJour;Somme;Ce qui s'est pass\xC3\xA9\n"
            "02/04/2024;7,05;VIR SEPA MUTUELLE\n";
        const StatementFile next = StatementReader::read(file("avril.csv", april), &memory);
        QVERIFY(!next.needsColumnChoice());
        QCOMPARE(next.lines.size(), size_t(1));
        QCOMPARE(next.lines[0].cents, 705);
        QCOMPARE(next.lines[0].sourceLine, 5);
        QCOMPARE(
            PrivateProfile::readString(ini, QStringLiteral("Options"), QStringLiteral("Passe")),
            QStringLiteral("x"));

        // Without memory the same file asks again.
        QVERIFY(StatementReader::read(file("avril.csv", april)).needsColumnChoice());
    }

    void untitledTableRemembered()
    {
        const CsvColumnMemory memory(dir_.filePath("talo-sans-titres.ini"));
        const QByteArray rows = "15/03/2024;VIR CPAM;23,10\n16/03/2024;PRLV;-5,00\n";
        StatementFile f = StatementReader::read(file("brut.csv", rows), &memory);
        QVERIFY(f.needsColumnChoice());
        CsvColumnChoice choice;
        choice.date = 0;
        choice.label = 1;
        choice.amount = 2;
        f = StatementReader::withColumns(std::move(f), choice);
        memory.remember(f.table, choice);
        const StatementFile again = StatementReader::read(file("brut.csv", rows), &memory);
        QCOMPARE(again.lines.size(), size_t(2));
        QCOMPARE(again.lines[1].cents, -500);

        // Remembered columns that no longer read the bank's file: asked again, with the reason.
        const StatementFile changed =
            StatementReader::read(file("brut.csv", "15/03/2024;23,10;VIR CPAM\n"), &memory);
        QVERIFY(changed.needsColumnChoice());
        QVERIFY2(changed.columnProblem.contains(QStringLiteral("Ligne 1 :")),
                 qPrintable(changed.columnProblem));
    }

    // Random damage to a valid file: every outcome is a list of dated lines or a French error
    // naming a line of the file.
    void fuzz()
    {
        QRandomGenerator random(19950101);
        const QByteArray whole = *Windows1252::encode(semicolonStatement());
        const QList<QByteArray> pieces = {";",
                                          "\"",
                                          "\n",
                                          "\r",
                                          ",",
                                          "-",
                                          "0",
                                          "9",
                                          "/",
                                          "\xE9",
                                          QByteArray(1, '\0'),
                                          "\xEF\xBB\xBF",
                                          " "};
        int read = 0;
        for (int round = 0; round < 1500; ++round) {
            QByteArray b = whole;
            for (int n = 1 + random.bounded(6); n > 0 && !b.isEmpty(); --n) {
                const int at = random.bounded(int(b.size()));
                switch (random.bounded(5)) {
                case 0:
                    b[at] = char(random.bounded(256));
                    break;
                case 1:
                    b.remove(at, 1 + random.bounded(12));
                    break;
                case 2:
                    b.insert(at, pieces.at(random.bounded(int(pieces.size()))));
                    break;
                case 3:
                    b.insert(at, whole.mid(random.bounded(int(whole.size())), 25));
                    break;
                default:
                    b.truncate(at);
                    break;
                }
            }
            try {
                const StatementFile f = StatementReader::read(file("fuzz.csv", b));
                for (const StatementLine &line : f.lines)
                    QVERIFY(line.date.isValid() && line.sourceLine >= 1);
                ++read;
            } catch (const StatementError &e) {
                QVERIFY2(e.line() >= 1 || !e.reason().isEmpty() || e.message().contains(u'«'),
                         qPrintable(e.message()));
            }
        }
        QVERIFY(read > 0 && read < 1500);
    }
};

QTEST_GUILESS_MAIN(TestCsvStatement)
#include "test_csv_statement.moc"
