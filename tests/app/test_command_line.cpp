#include "app/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arguments_data();
    void arguments();
};

void TestCommandLine::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status"); // -1: the program opens its window
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("none") << QStringList() << -1 << ""
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Talo 3.0c\n"
                             << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Utilisation : talo"
                          << "";
    QTest::newRow("short help") << QStringList{"-h"} << 0 << "Utilisation : talo"
                                << "";
    QTest::newRow("unknown") << QStringList{"--export"} << 2 << ""
                             << "talo : argument non reconnu « --export »";
    QTest::newRow("help and more") << QStringList{"--help", "x"} << 2 << ""
                                   << "talo : argument non reconnu « --help »";
    QTest::newRow("a file") << QStringList{"TALO.DB"} << 2 << ""
                            << "talo : argument non reconnu « TALO.DB »";
}

void TestCommandLine::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QString printed, refused;
    const std::optional<int> result = CommandLine::handle(arguments, printed, refused);
    QCOMPARE(result.value_or(-1), status);
    QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.startsWith(out), qPrintable(printed));
    QVERIFY2(err.isEmpty() ? refused.isEmpty() : refused.startsWith(err), qPrintable(refused));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
