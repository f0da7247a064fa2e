#include "conversion/ParadoxTableMaker.h"

#include "app/ParadoxOffer.h"
#include "platform/widgets/Dialogs.h"
#include "support/FileBytes.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestParadoxOffer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Dialogs::startScripting(); }
    void cleanup() { Dialogs::stopScripting(); }
    void answerDecides_data();
    void answerDecides();
};

void TestParadoxOffer::answerDecides_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("filesAfter");
    QTest::newRow("no touches nothing") << false << QStringList{"TALO.DB", "TALO.MB"};
    QTest::newRow("yes converts") << true << QStringList{"Tables Paradox", "TALO.DB"};
}

void TestParadoxOffer::answerDecides()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, filesAfter);
    QTemporaryDir dir;
    const QDir program(dir.path());
    ParadoxTableMaker::write(
        program.filePath("TALO.DB"), program.filePath("TALO.MB"),
        ParadoxTableMaker::careEntryFields(),
        {{QDate(2024, 3, 2), "MARIE", QVariant(), QVariant(), QVariant(), 20.0}});
    const QByteArray before = FileBytes::of(program.filePath("TALO.DB"));
    Dialogs::queueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    ParadoxOffer::run(dir.path());

    const QStringList texts = Dialogs::shownTexts();
    QCOMPARE(texts.size(), yes ? 2 : 1);
    QVERIFY(texts[0].startsWith("Cette table est au format Paradox : TALO.DB."));
    QCOMPARE(program.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), filesAfter);
    if (yes) {
        QVERIFY(texts[1].startsWith("TALO.DB : 1 enregistrement(s) converti(s)."));
        QCOMPARE(FileBytes::of(program.filePath("Tables Paradox/TALO.DB")), before);
    } else {
        QCOMPARE(FileBytes::of(program.filePath("TALO.DB")), before);
    }
}

QTEST_MAIN(TestParadoxOffer)
#include "test_paradox_offer.moc"
