#include "app/ProgramLock.h"
#include "app/Startup.h"

#include "platform/widgets/Dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Another process holding talo.lock in `dir`, as a first copy of the program does. Only raw
// system calls run in the child: it shares nothing with the test's Qt state.
class OtherProcess
{
public:
    explicit OtherProcess(const QString &dir)
    {
        const QByteArray path = QFile::encodeName(dir + QStringLiteral("/talo.lock"));
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &locked, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char locked = 'n';
        holding_ = ::read(ready[0], &locked, 1) == 1 && locked == 'y';
        ::close(ready[0]);
    }
    ~OtherProcess() { killHard(); }

    bool holding() const { return holding_; }
    void killHard()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

} // namespace

class TestProgramLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stateAgainstAnotherProcess_data()
    {
        QTest::addColumn<QString>("other"); // none, alive, killed
        QTest::addColumn<ProgramLock::State>("expected");
        QTest::newRow("no other copy") << "none" << ProgramLock::State::Held;
        QTest::newRow("other copy running") << "alive" << ProgramLock::State::HeldElsewhere;
        QTest::newRow("other copy killed -9") << "killed" << ProgramLock::State::Held;
    }

    void stateAgainstAnotherProcess()
    {
        QFETCH(QString, other);
        QFETCH(ProgramLock::State, expected);
        QTemporaryDir dir;
        std::unique_ptr<OtherProcess> first;
        if (other != "none") {
            first = std::make_unique<OtherProcess>(dir.path());
            QVERIFY(first->holding());
            if (other == "killed")
                first->killHard();
        }
        const ProgramLock lock(dir.path());
        QCOMPARE(lock.state(), expected);
        // Owner-only: the lock file tells nothing to other users either.
        QCOMPARE(QFile::permissions(dir.filePath("talo.lock")) & 0x0077, QFile::Permissions());
    }

    void secondStartEndsBeforeAnyWindow()
    {
        QTemporaryDir dir;
        OtherProcess first(dir.path());
        QVERIFY(first.holding());
        Dialogs::startScripting();
        Startup second(dir.path());
        QVERIFY(!second.run());
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Talo 3.0 est déjà ouvert sur ce dossier de programme."});
        QCOMPARE(Dialogs::shown().first().caption, QString("Talo 3.0"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        // The first copy's directory is left as it was: no table was created or opened.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"talo.lock"});
        Dialogs::stopScripting();
    }
};

QTEST_MAIN(TestProgramLock)
#include "test_program_lock.moc"
