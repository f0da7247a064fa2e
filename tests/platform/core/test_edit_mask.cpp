#include "platform/core/EditMask.h"
#include "platform/core/Formats.h"
#include "platform/core/MaskedText.h"
#include "platform/core/Today.h"

#include <QTest>

namespace
{

const QString dateMask = QStringLiteral("!99/99/00;1;_");
const QString postalMask = QStringLiteral("!00000;1;_");
const QString phoneMask = QStringLiteral("!00\\-00\\-00\\-00\\-00;1;_");
const QString numSsMask = QStringLiteral("!0000000000000\\-99;0;_");

// The mask's positions in one line: "r" required digit, "o" optional digit, a literal as itself.
QString shape(const EditMask &mask)
{
    QString s;
    for (int p = 0; p < mask.positionCount(); ++p) {
        if (mask.isLiteral(p))
            s += mask.literalAt(p);
        else
            s += mask.isRequired(p) ? QLatin1Char('r') : QLatin1Char('o');
    }
    return s;
}

} // namespace

class TestEditMask : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsing_data();
    void parsing();
    void unsupportedMasks_data();
    void unsupportedMasks();
    void displayText_data();
    void displayText();
    void storedValue_data();
    void storedValue();
    void roundTrip_data();
    void roundTrip();
    void completeness_data();
    void completeness();
    void gridDisplay_data();
    void gridDisplay();
    void storedDatesParse_data();
    void storedDatesParse();
    void typing_data();
    void typing();
};

void TestEditMask::parsing_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expectedShape");
    QTest::addColumn<QChar>("blank");
    QTest::addColumn<bool>("savesLiterals");
    QTest::addColumn<int>("maxStored");

    QTest::newRow("date") << dateMask << "oo/oo/rr" << QChar('_') << true << 8;
    QTest::newRow("postal code") << postalMask << "rrrrr" << QChar('_') << true << 5;
    QTest::newRow("telephone") << phoneMask << "rr-rr-rr-rr-rr" << QChar('_') << true << 14;
    QTest::newRow("insurance number")
        << numSsMask << "rrrrrrrrrrrrr-oo" << QChar('_') << false << 15;
    QTest::newRow("no save/blank parts") << "00/9"
                                         << "rr/o" << QChar('_') << true << 4;
    QTest::newRow("no blank part") << "00/9;0"
                                   << "rr/o" << QChar('_') << false << 3;
    QTest::newRow("own blank") << "00.00;1;*"
                               << "rr.rr" << QChar('*') << true << 5;
    QTest::newRow("escaped zero is a literal") << "\\00;1;_"
                                               << "0r" << QChar('_') << true << 2;
}

void TestEditMask::parsing()
{
    QFETCH(QString, mask);
    QFETCH(QString, expectedShape);
    QFETCH(QChar, blank);
    QFETCH(bool, savesLiterals);
    QFETCH(int, maxStored);

    const EditMask m(mask);
    QVERIFY(m.isValid());
    QVERIFY(!m.isEmpty());
    QCOMPARE(shape(m), expectedShape);
    QCOMPARE(m.positionCount(), int(expectedShape.size()));
    QCOMPARE(m.blank(), blank);
    QCOMPARE(m.savesLiterals(), savesLiterals);
    QCOMPARE(m.maxStoredLength(), maxStored);
}

void TestEditMask::unsupportedMasks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::newRow("letters") << "LL00;1;_";
    QTest::newRow("upper case") << ">00;1;_";
    QTest::newRow("dangling escape") << "00\\";
    QTest::newRow("digit as blank") << "00;1;0";
    QTest::newRow("two-character blank") << "00;1;ab";
    QTest::newRow("blank equal to a literal") << "00/00;1;/";
    QTest::newRow("literals only") << "--;1;_";
}

void TestEditMask::unsupportedMasks()
{
    QFETCH(QString, mask);
    const EditMask m(mask);
    QVERIFY(!m.isValid());
    // An unusable mask enforces nothing rather than something half-understood.
    QVERIFY(m.isEmpty());
    QCOMPARE(m.storedValue(QStringLiteral("ab12")), QStringLiteral("ab12"));
    QVERIFY(m.isComplete(QStringLiteral("ab12")));
}

void TestEditMask::displayText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");

    QTest::newRow("date empty") << dateMask << ""
                                << "__/__/__";
    QTest::newRow("date full") << dateMask << "12/03/24"
                               << "12/03/24";
    QTest::newRow("date with blanks") << dateMask << " 5/ 3/24"
                                      << "_5/_3/24";
    QTest::newRow("date short groups") << dateMask << "5/3/24"
                                       << "_5/_3/24";
    QTest::newRow("date one short group") << dateMask << "05/3/24"
                                          << "05/_3/24";
    QTest::newRow("date not fitting") << dateMask << "2024-03-05"
                                      << "20/24/-0";
    QTest::newRow("postal code") << postalMask << "75011"
                                 << "75011";
    QTest::newRow("postal code empty") << postalMask << ""
                                       << "_____";
    QTest::newRow("postal code short") << postalMask << "750"
                                       << "__750";
    QTest::newRow("phone") << phoneMask << "01-23-45-67-89"
                           << "01-23-45-67-89";
    QTest::newRow("phone without hyphens") << phoneMask << "0123456789"
                                           << "01-23-45-67-89";
    QTest::newRow("phone empty") << phoneMask << ""
                                 << "__-__-__-__-__";
    QTest::newRow("numss full") << numSsMask << "123456789012345"
                                << "1234567890123-45";
    QTest::newRow("numss without key") << numSsMask << "1234567890123"
                                       << "1234567890123-__";
    QTest::newRow("numss with hyphen") << numSsMask << "1234567890123-45"
                                       << "1234567890123-45";
    QTest::newRow("numss empty") << numSsMask << ""
                                 << "_____________-__";
    QTest::newRow("numss too long") << numSsMask << "12345678901234567"
                                    << "1234567890123-45";
    QTest::newRow("no mask") << ""
                             << "any text"
                             << "any text";
}

void TestEditMask::displayText()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(EditMask(mask).displayText(stored), expected);
}

void TestEditMask::storedValue_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");

    QTest::newRow("date full") << dateMask << "12/03/24"
                               << "12/03/24";
    QTest::newRow("date leading blanks") << dateMask << "_5/_3/24"
                                         << " 5/ 3/24";
    QTest::newRow("date trailing blanks") << dateMask << "5_/3_/24"
                                          << "5 /3 /24";
    QTest::newRow("date spaces for blanks") << dateMask << " 5/ 3/24"
                                            << " 5/ 3/24";
    QTest::newRow("date all blank") << dateMask << "__/__/__"
                                    << "";
    QTest::newRow("date empty text") << dateMask << ""
                                     << "";
    QTest::newRow("date year unfinished") << dateMask << "12/03/2_"
                                          << "12/03/2 ";
    QTest::newRow("postal code") << postalMask << "75011"
                                 << "75011";
    QTest::newRow("postal code blank") << postalMask << "_____"
                                       << "";
    QTest::newRow("phone") << phoneMask << "01-23-45-67-89"
                           << "01-23-45-67-89";
    QTest::newRow("phone blank") << phoneMask << "__-__-__-__-__"
                                 << "";
    QTest::newRow("numss full") << numSsMask << "1234567890123-45"
                                << "123456789012345";
    QTest::newRow("numss without key") << numSsMask << "1234567890123-__"
                                       << "1234567890123";
    QTest::newRow("numss half key") << numSsMask << "1234567890123-4_"
                                    << "12345678901234";
    QTest::newRow("numss blank") << numSsMask << "_____________-__"
                                 << "";
    QTest::newRow("no mask") << ""
                             << " as typed "
                             << " as typed ";
}

void TestEditMask::storedValue()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    const EditMask m(mask);
    const QString value = m.storedValue(shown);
    QCOMPARE(value, expected);
    QVERIFY(value.size() <= m.maxStoredLength() || m.isEmpty());
}

void TestEditMask::roundTrip_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");

    QTest::newRow("date") << dateMask << "12/03/24";
    QTest::newRow("date with blanks") << dateMask << " 5/ 3/24";
    QTest::newRow("date trailing blanks") << dateMask << "5 /3 /24";
    QTest::newRow("date empty") << dateMask << "";
    QTest::newRow("postal code") << postalMask << "75011";
    QTest::newRow("phone") << phoneMask << "01-23-45-67-89";
    QTest::newRow("numss") << numSsMask << "123456789012345";
    QTest::newRow("numss without key") << numSsMask << "1234567890123";
    QTest::newRow("numss empty") << numSsMask << "";
}

void TestEditMask::roundTrip()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    const EditMask m(mask);
    QCOMPARE(m.storedValue(m.displayText(stored)), stored);
}

void TestEditMask::completeness_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("complete");

    QTest::newRow("date blank") << dateMask << "__/__/__" << true;
    QTest::newRow("date full") << dateMask << "12/03/24" << true;
    QTest::newRow("date optional blanks") << dateMask << "_5/_3/24" << true;
    QTest::newRow("date day only") << dateMask << "5_/__/__" << false;
    QTest::newRow("date year half") << dateMask << "12/03/2_" << false;
    QTest::newRow("date no year") << dateMask << "12/03/__" << false;
    QTest::newRow("date letter in day") << dateMask << "a5/03/24" << false;
    QTest::newRow("date short text") << dateMask << "12/03" << false;
    QTest::newRow("postal code blank") << postalMask << "_____" << true;
    QTest::newRow("postal code full") << postalMask << "75011" << true;
    QTest::newRow("postal code short") << postalMask << "7501_" << false;
    QTest::newRow("phone full") << phoneMask << "01-23-45-67-89" << true;
    QTest::newRow("phone short") << phoneMask << "01-23-45-67-8_" << false;
    QTest::newRow("phone first blank") << phoneMask << "_1-23-45-67-89" << false;
    QTest::newRow("numss without key") << numSsMask << "1234567890123-__" << true;
    QTest::newRow("numss half key") << numSsMask << "1234567890123-4_" << true;
    QTest::newRow("numss short") << numSsMask << "123456789012_-45" << false;
    QTest::newRow("numss blank") << numSsMask << "_____________-__" << true;
    QTest::newRow("no mask") << ""
                             << "anything" << true;
}

void TestEditMask::completeness()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(bool, complete);
    QCOMPARE(EditMask(mask).isComplete(shown), complete);
}

void TestEditMask::gridDisplay_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");

    QTest::newRow("numss") << numSsMask << "123456789012345"
                           << "1234567890123-45";
    QTest::newRow("numss without key") << numSsMask << "1234567890123"
                                       << "1234567890123-";
    QTest::newRow("numss empty") << numSsMask << ""
                                 << "";
    // Values that do not fit are shown whole, never cut to the mask.
    QTest::newRow("numss too long") << numSsMask << "12345678901234567"
                                    << "12345678901234567";
    QTest::newRow("date not fitting") << dateMask << "2024-03-05"
                                      << "2024-03-05";
    QTest::newRow("date with blanks") << dateMask << " 5/ 3/24"
                                      << " 5/ 3/24";
    QTest::newRow("date short groups") << dateMask << "5/3/24"
                                       << " 5/ 3/24";
    QTest::newRow("phone") << phoneMask << "01-23-45-67-89"
                           << "01-23-45-67-89";
}

void TestEditMask::gridDisplay()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(EditMask(mask).formatForDisplay(stored), expected);
}

// What the date mask stores must be readable by the date parser of the care entries.
void TestEditMask::storedDatesParse_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QDate>("date");
    QTest::newRow("full") << "05/03/24" << QDate(2024, 3, 5);
    QTest::newRow("leading blanks") << "_5/_3/24" << QDate(2024, 3, 5);
    QTest::newRow("trailing blanks") << "5_/3_/24" << QDate(2024, 3, 5);
    QTest::newRow("blank") << "__/__/__" << QDate();
}

void TestEditMask::storedDatesParse()
{
    QFETCH(QString, shown);
    QFETCH(QDate, date);
    Today::pinForTesting(QDate(2026, 6, 1));
    const QString stored = EditMask(dateMask).storedValue(shown);
    QCOMPARE(Formats::parseDate(stored), date);
    Today::unpin();
}

void TestEditMask::typing_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    // "t" types `typed`, "b" is Backspace, "d" is Delete.
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCursor");
    QTest::addColumn<bool>("accepted");

    const QString blankDate = QStringLiteral("__/__/__");
    QTest::newRow("digits skip separators") << dateMask << blankDate << 0 << 0 << 0 << "t"
                                            << "050324"
                                            << "05/03/24" << 8 << true;
    QTest::newRow("separator skips the rest of a group")
        << dateMask << blankDate << 0 << 0 << 0 << "t"
        << "5/3/24"
        << "5_/3_/24" << 8 << true;
    QTest::newRow("separator after a full group is ignored")
        << dateMask << blankDate << 0 << 0 << 0 << "t"
        << "05/03/24"
        << "05/03/24" << 8 << true;
    QTest::newRow("space blanks an optional digit") << dateMask << blankDate << 0 << 0 << 0 << "t"
                                                    << " 5 324"
                                                    << "_5/_3/24" << 8 << true;
    QTest::newRow("letter refused") << dateMask << blankDate << 0 << 0 << 0 << "t"
                                    << "x" << blankDate << 0 << false;
    QTest::newRow("letter after a digit refused") << dateMask << blankDate << 0 << 0 << 0 << "t"
                                                  << "5x"
                                                  << "5_/__/__" << 1 << false;
    QTest::newRow("no position left") << dateMask << "05/03/24" << 8 << 0 << 0 << "t"
                                      << "1"
                                      << "05/03/24" << 8 << false;
    QTest::newRow("digit before a separator goes after it")
        << dateMask << "05/__/24" << 2 << 0 << 0 << "t"
        << "0"
        << "05/0_/24" << 4 << true;
    QTest::newRow("overwrites, no shift") << dateMask << "05/03/24" << 0 << 0 << 0 << "t"
                                          << "1"
                                          << "15/03/24" << 1 << true;
    QTest::newRow("select all then type") << dateMask << "05/03/24" << 8 << 0 << 8 << "t"
                                          << "1"
                                          << "1_/__/__" << 1 << true;
    QTest::newRow("refused key keeps the selection's text")
        << dateMask << "05/03/24" << 8 << 0 << 8 << "t"
        << "z"
        << "05/03/24" << 8 << false;
    QTest::newRow("backspace over a separator") << dateMask << "05/03/24" << 3 << 0 << 0 << "b"
                                                << ""
                                                << "0_/03/24" << 1 << true;
    QTest::newRow("backspace at the start") << dateMask << "05/03/24" << 0 << 0 << 0 << "b"
                                            << ""
                                            << "05/03/24" << 0 << true;
    QTest::newRow("delete blanks and steps") << dateMask << "05/03/24" << 2 << 0 << 0 << "d"
                                             << ""
                                             << "05/_3/24" << 4 << true;
    QTest::newRow("delete a selection") << dateMask << "05/03/24" << 5 << 1 << 4 << "d"
                                        << ""
                                        << "0_/__/24" << 1 << true;
    QTest::newRow("numss typed fully") << numSsMask << "_____________-__" << 0 << 0 << 0 << "t"
                                       << "123456789012345"
                                       << "1234567890123-45" << 16 << true;
    QTest::newRow("numss typed with hyphen")
        << numSsMask << "_____________-__" << 0 << 0 << 0 << "t"
        << "1234567890123-45"
        << "1234567890123-45" << 16 << true;
    QTest::newRow("blank refused in a required digit")
        << numSsMask << "_____________-__" << 0 << 0 << 0 << "t"
        << " "
        << "_____________-__" << 0 << false;
    QTest::newRow("phone pasted with spaces") << phoneMask << "__-__-__-__-__" << 0 << 0 << 0 << "t"
                                              << "06 12 34 56 78"
                                              << "06-12-34-56-78" << 14 << false;
    QTest::newRow("phone pasted with hyphens")
        << phoneMask << "__-__-__-__-__" << 0 << 0 << 0 << "t"
        << "06-12-34-56-78"
        << "06-12-34-56-78" << 14 << true;
    QTest::newRow("postal code too many digits") << postalMask << "_____" << 0 << 0 << 0 << "t"
                                                 << "750112"
                                                 << "75011" << 5 << false;
}

void TestEditMask::typing()
{
    QFETCH(QString, mask);
    QFETCH(QString, start);
    QFETCH(int, cursor);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, action);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, expectedCursor);
    QFETCH(bool, accepted);

    const EditMask m(mask);
    MaskedText text(m, start, cursor);
    text.select(selectionStart, selectionLength);
    bool result = true;
    if (action == QLatin1String("t"))
        result = text.type(typed);
    else if (action == QLatin1String("b"))
        text.backspace();
    else
        text.deleteForward();
    QCOMPARE(text.text(), expected);
    QCOMPARE(text.cursor(), expectedCursor);
    QCOMPARE(result, accepted);
}

QTEST_GUILESS_MAIN(TestEditMask)
#include "test_edit_mask.moc"
