#include "conversion/ParadoxTableMaker.h"
#include "conversion/ReadingTestMain.h"

#include "app/ParadoxOffer.h"
#include "platform/widgets/Dialogs.h"
#include "support/FileBytes.h"

#include <QApplication>
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
    QTest::addColumn<bool>("originalsMovedByEarlierVersion");
    QTest::addColumn<QStringList>("filesAfter");
    QTest::newRow("no touches nothing") << false << false << QStringList{"TALO.DB", "TALO.MB"};
    QTest::newRow("yes converts") << true << false << QStringList{"Tables Paradox", "TALO.DB"};
    // An earlier version, killed while converting, left no TALO.DB and its originals moved.
    QTest::newRow("table missing: offered again, no keeps it")
        << false << true << QStringList{"Tables Paradox"};
    QTest::newRow("table missing: yes converts from the originals kept")
        << true << true << QStringList{"Tables Paradox", "TALO.DB"};
}

void TestParadoxOffer::answerDecides()
{
    QFETCH(bool, yes);
    QFETCH(bool, originalsMovedByEarlierVersion);
    QFETCH(QStringList, filesAfter);
    QTemporaryDir dir;
    const QDir program(dir.path());
    ParadoxTableMaker::write(
        program.filePath("TALO.DB"), program.filePath("TALO.MB"),
        ParadoxTableMaker::careEntryFields(),
        {{QDate(2024, 3, 2), "MARIE", QVariant(), QVariant(), QVariant(), 20.0}});
    const QByteArray before = FileBytes::of(program.filePath("TALO.DB"));
    if (originalsMovedByEarlierVersion) {
        QVERIFY(program.mkdir("Tables Paradox"));
        for (const QString name : {"TALO.DB", "TALO.MB"})
            QVERIFY(
                QFile::rename(program.filePath(name), program.filePath("Tables Paradox/" + name)));
        FileBytes::put(program.filePath(".TALO.DB.Xy12Zw.tmp"), QByteArray(8192, 'x'));
    }
    Dialogs::queueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    ParadoxOffer::run(dir.path());

    const QStringList texts = Dialogs::shownTexts();
    QCOMPARE(texts.size(), yes ? 2 : 1);
    QVERIFY(texts[0].startsWith("Cette table est au format Paradox : TALO.DB."));
    QCOMPARE(program.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), filesAfter);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (yes) {
        QVERIFY2(texts[1].startsWith("TALO.DB : 1 enregistrement(s) converti(s)."),
                 qPrintable(texts[1]));
        QCOMPARE(FileBytes::of(program.filePath("Tables Paradox/TALO.DB")), before);
    } else if (!originalsMovedByEarlierVersion) {
        QCOMPARE(FileBytes::of(program.filePath("TALO.DB")), before);
    }
}

TALO_READING_TEST_MAIN(TestParadoxOffer, QApplication)
#include "test_paradox_offer.moc"
