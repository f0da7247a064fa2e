#include "platform/core/WordCapitals.h"

#include <QTest>

// The word-capitals rule of first names, specialities and towns.
class TestDbWordCapitals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty field") << "" << 0 << "m"
                                     << "M";
        QTest::newRow("after a blank") << "jean " << 5 << "p"
                                       << "P";
        QTest::newRow("inside a word") << "Jea" << 3 << "n"
                                       << "n";
        QTest::newRow("start of a filled field") << "artin" << 0 << "m"
                                                 << "M";
        QTest::newRow("caret in the middle, after a blank") << "Le oix" << 3 << "r"
                                                            << "R";
        QTest::newRow("caret in the middle of a word") << "Leroix" << 3 << "z"
                                                       << "z";
        QTest::newRow("accented letter at start") << "" << 0 << "é"
                                                  << "é";
        QTest::newRow("accented letter after a blank") << "Saint " << 6 << "à"
                                                       << "à";
        QTest::newRow("capital stays") << "" << 0 << "D"
                                       << "D";
        QTest::newRow("last letter") << "" << 0 << "z"
                                     << "Z";
        QTest::newRow("first letter") << "x " << 2 << "a"
                                      << "A";
        QTest::newRow("character after z") << "" << 0 << "{"
                                           << "{";
        QTest::newRow("character before a") << "" << 0 << "`"
                                            << "`";
        QTest::newRow("digit") << "" << 0 << "1"
                               << "1";
        QTest::newRow("after a hyphen") << "Jean-" << 5 << "p"
                                        << "p";
        QTest::newRow("after an apostrophe") << "d'" << 2 << "a"
                                             << "a";
        QTest::newRow("sharp s") << "" << 0 << "ß"
                                 << "ß";
        QTest::newRow("caret past the end") << "ab " << 10 << "c"
                                            << "C";
        QTest::newRow("negative caret") << "ab" << -1 << "c"
                                        << "C";
    }

    void oneCharacter()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(QString(WordCapitals::apply(text, caret, typed.at(0))), expected);
    }

    void severalCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");

        QTest::newRow("two words") << "" << 0 << "médecine générale"
                                   << "Médecine Générale";
        QTest::newRow("accented word") << "" << 0 << "école de nuit"
                                       << "école De Nuit";
        QTest::newRow("inside a word") << "Ma" << 2 << "rie claire"
                                       << "rie Claire";
        QTest::newRow("after a blank") << "x" << 1 << " y z"
                                       << " Y Z";
        QTest::newRow("double blank") << "" << 0 << "a  b"
                                      << "A  B";
    }

    void severalCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(WordCapitals::apply(text, caret, typed), expected);
    }
};

QTEST_APPLESS_MAIN(TestDbWordCapitals)
#include "test_db_word_capitals.moc"
