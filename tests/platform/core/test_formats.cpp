#include "platform/core/Formats.h"
#include "platform/core/ParseError.h"
#include "platform/core/Today.h"

#include <QtTest>

// Money, dates and rates as the windows show them and as the user types them (French
// regional settings; U+202F groups thousands, U+00A0 stands before the currency).
class TestFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 12, 8));
    }

    void money_data()
    {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("awaited");
        QTest::addColumn<QString>("reportNumber");
        QTest::newRow("zero") << qint64(0) << "0,00\u00A0€"
                              << "0,00\u00A0€"
                              << "0,00";
        QTest::newRow("cents") << qint64(5) << "0,05\u00A0€"
                               << "0,05\u00A0€"
                               << "0,05";
        QTest::newRow("grouped") << qint64(123450) << "1\u202F234,50\u00A0€"
                                 << "1\u202F234,50\u00A0€"
                                 << "1\u202F234,50";
        QTest::newRow("negative with a minus sign") << qint64(-123450) << "-1\u202F234,50\u00A0€"
                                                    << "-1\u202F234,50\u00A0€"
                                                    << "-1\u202F234,50";
        QTest::newRow("seven significant digits") << qint64(99999999) << "999\u202F999,99\u00A0€"
                                                  << "1\u202F000\u202F000,00\u00A0€"
                                                  << "999\u202F999,99";
        QTest::newRow("awaited rounds the eighth digit")
            << qint64(1234567891) << "12\u202F345\u202F678,91\u00A0€"
            << "12\u202F345\u202F680,00\u00A0€"
            << "12\u202F345\u202F678,91";
    }
    void money()
    {
        QFETCH(qint64, cents);
        QFETCH(QString, shown);
        QFETCH(QString, awaited);
        QFETCH(QString, reportNumber);
        // Euros with French conventions whatever the system's regional settings.
        for (const QLocale &regional :
             {QLocale(QLocale::French, QLocale::France),
              QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::C)}) {
            QLocale::setDefault(regional);
            QCOMPARE(Formats::money(cents), shown);
            QCOMPARE(Formats::awaitedAmount(cents), awaited);
            QCOMPARE(Formats::reportNumber(cents), reportNumber);
            QCOMPARE(Formats::parseMoney(shown).value(), cents);
        }
    }

    void rate_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QString>("shown");
        QTest::newRow("65") << 65.0 << "65%";
        QTest::newRow("5.3 has two digits") << 5.3 << "05%";
        QTest::newRow("half rounds up") << 64.5 << "65%";
        QTest::newRow("100") << 100.0 << "100%";
        QTest::newRow("0") << 0.0 << "00%";
    }
    void rate()
    {
        QFETCH(double, percent);
        QFETCH(QString, shown);
        QCOMPARE(Formats::rate(percent), shown);
    }

    void typedDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::newRow("this century") << "05/03/24" << QDate(2024, 3, 5);
        QTest::newRow("last year of the window") << "01/01/46" << QDate(2046, 1, 1);
        QTest::newRow("first year of the window") << "01/01/47" << QDate(1947, 1, 1);
        QTest::newRow("nineties") << "15/06/97" << QDate(1997, 6, 15);
        QTest::newRow("short day and month from the mask") << " 5/ 3/24" << QDate(2024, 3, 5);
        QTest::newRow("blanks of the mask") << "5_/3_/24" << QDate(2024, 3, 5);
        QTest::newRow("four-digit year") << "05/03/1924" << QDate(1924, 3, 5);
        QTest::newRow("leap day") << "29/02/24" << QDate(2024, 2, 29);
        QTest::newRow("blank mask is empty") << "__/__/__" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void typedDates()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(Formats::parseDate(typed), date);
        if (date.isValid() && date.year() >= 1947)
            QCOMPARE(Formats::parseDate(Formats::date(date)), date);
    }

    void badDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("no such day") << "31/02/24";
        QTest::newRow("not a leap year") << "29/02/23";
        QTest::newRow("month 13") << "01/13/24";
        QTest::newRow("letters") << "ab/cd/ef";
        QTest::newRow("year missing") << "05/03/__";
    }
    void badDates()
    {
        QFETCH(QString, typed);
        try {
            Formats::parseDate(typed);
            QFAIL("accepted a date that is not one");
        } catch (const ParseError &e) {
            QCOMPARE(e.message(), QString("'%1' n'est pas une date correcte").arg(typed));
        }
    }

    void typedAmounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("comma") << "12,50" << qint64(1250);
        QTest::newRow("point") << "12.5" << qint64(1250);
        QTest::newRow("whole") << "25" << qint64(2500);
        QTest::newRow("grouped with a space") << "1 234,56" << qint64(123456);
        QTest::newRow("grouped with a no-break space") << "1\u00A0234,56" << qint64(123456);
        QTest::newRow("as shown, with the currency") << "1\u202F234,56\u00A0€" << qint64(123456);
        QTest::newRow("negative") << "-5,05" << qint64(-505);
        QTest::newRow("only cents") << ",5" << qint64(50);
    }
    void typedAmounts()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, cents);
        QCOMPARE(Formats::parseMoney(typed).value(), cents);
    }

    void badAmounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString plain = QStringLiteral("'%1' n'est pas un montant correct");
        const QString decimals = plain + QStringLiteral(" : deux décimales au plus.");
        QTest::newRow("letters") << "douze" << plain;
        QTest::newRow("three decimals") << "12,345" << decimals;
        QTest::newRow("three decimals after a point") << "-0.125" << decimals;
        QTest::newRow("two separators") << "1,2,3" << plain;
        QTest::newRow("sign alone") << "-" << plain;
    }
    void badAmounts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        try {
            Formats::parseMoney(typed);
            QFAIL("accepted an amount that is not one");
        } catch (const ParseError &e) {
            QCOMPARE(e.message(), message.arg(typed));
        }
        QVERIFY(!Formats::parseMoney("   ").has_value());
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
