#include "StatementSamples.h"

#include "platform/core/WorkProgress.h"
#include "statements/OfxReadProcess.h"
#include "statements/OfxReadService.h"
#include "statements/StatementError.h"
#include "statements/StatementReader.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace StatementSamples;

namespace
{
// Tags nested a hundred thousand deep: libofx works on it for minutes at full processor.
QByteArray nestedTags()
{
    QByteArray bytes = ofx1().left(ofx1().indexOf("<OFX>"));
    bytes += "<OFX>\r\n" + QByteArray("<BANKMSGSRSV1>").repeated(100000) + "</OFX>\r\n";
    return bytes;
}
} // namespace

// The OFX reading in a child process (this test program started again, as the program is):
// the same lines as in the program itself; a crafted file stopped by its time limit or by the
// person at once, the next reading free right after.
class TestOfxReadProcess : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void cleanup() { OfxReadProcess::setTimeLimitForTesting(-1); }

    void sameLinesAsInProcess_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1.x SGML") << ofx1();
        QTest::newRow("2.x XML") << ofx2();
    }
    void sameLinesAsInProcess()
    {
        QFETCH(QByteArray, bytes);
        const QString path = writtenIn(dir_, QStringLiteral("releve.ofx"), bytes);
        const StatementFile here = StatementReader::read(path);
        const StatementFile there =
            StatementReader::read(path, nullptr, {}, OfxReadProcess::reader({}));
        QCOMPARE(there.lines.size(), here.lines.size());
        for (size_t i = 0; i < here.lines.size(); ++i) {
            QCOMPARE(there.lines[i].date, here.lines[i].date);
            QCOMPARE(there.lines[i].cents, here.lines[i].cents);
            QCOMPARE(there.lines[i].label, here.lines[i].label);
            QCOMPARE(there.lines[i].bankId, here.lines[i].bankId);
            QCOMPARE(there.lines[i].sourceLine, here.lines[i].sourceLine);
        }
    }

    // The reader's own refusal comes back with its line, as in the program itself.
    void refusalKeepsItsLine()
    {
        QByteArray bytes = ofx1();
        bytes.replace("<TRNAMT>+23.10", "<TRNAMT>abc");
        const QString path = writtenIn(dir_, QStringLiteral("faux.ofx"), bytes);
        QString here, there;
        try {
            StatementReader::read(path);
        } catch (const StatementError &e) {
            here = e.message();
        }
        try {
            StatementReader::read(path, nullptr, {}, OfxReadProcess::reader({}));
        } catch (const StatementError &e) {
            there = e.message();
        }
        QVERIFY(!here.isEmpty());
        QCOMPARE(there, here);
    }

    void hostileFileHoldsNothing_data()
    {
        QTest::addColumn<bool>("stopped"); // by the person, else by the time limit
        QTest::newRow("time limit") << false;
        QTest::newRow("Annuler") << true;
    }
    void hostileFileHoldsNothing()
    {
        QFETCH(bool, stopped);
        OfxReadProcess::setTimeLimitForTesting(stopped ? 60000 : 1500);
        QElapsedTimer clock;
        clock.start();
        const auto stop = [&clock, stopped] { return stopped && clock.elapsed() > 500; };
        QString refusal;
        bool stoppedThrown = false;
        try {
            OfxReadProcess::read(nestedTags(), {}, stop);
        } catch (const StatementError &e) {
            refusal = e.reason();
        } catch (const WorkProgress::Stopped &) {
            stoppedThrown = true;
        }
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        if (stopped)
            QVERIFY(stoppedThrown);
        else
            QCOMPARE(refusal, QStringLiteral("sa lecture ne s'est pas terminée en 2 secondes (le "
                                             "fichier est peut-être piégé)."));
        // The next statement is read at once.
        clock.restart();
        QCOMPARE(OfxReadProcess::read(ofx1(), {}, {}).size(), size_t(3));
        QVERIFY(clock.elapsed() < 10000);
    }
};

int main(int argc, char *argv[])
{
    // The child's side, as main() of the program answers it.
    if (const std::optional<int> status = OfxReadService::serveIfAsked(argc, argv))
        return *status;
    QCoreApplication app(argc, argv);
    TestOfxReadProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_ofx_read_process.moc"
