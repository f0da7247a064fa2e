#include "platform/core/AtomicFileWriter.h"
#include "platform/core/PlatformError.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{

mode_t linkFreeMode(const QString &path)
{
    struct stat info {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode;
}

} // namespace

// A link planted where a file is written (an export into a shared folder, a side file) must
// never carry the write to the file it points to.
class TestAtomicFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir_.reset(new QTemporaryDir);
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkpath("programme"));
        QVERIFY(QDir(dir_->path()).mkpath("partage"));
        FileBytes::put(programFile(), "SQLite format 3, the register");
        QVERIFY(QFile::setPermissions(programFile(), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ReadOther));
    }

    void writeReplacesTheLinkNotItsTarget_data()
    {
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<bool>("targetExists");

        QTest::newRow("to a table of the program directory") << "../programme/TALO.DB" << true;
        QTest::newRow("absolute, to that table") << "@/programme/TALO.DB" << true;
        QTest::newRow("dangling") << "../programme/nouveau.DB" << false;
        QTest::newRow("to a folder") << "../programme" << true;
    }

    void writeReplacesTheLinkNotItsTarget()
    {
        QFETCH(QString, linkTarget);
        QFETCH(bool, targetExists);
        linkTarget.replace("@", dir_->path());
        const QString link = dir_->filePath("partage/soins.csv");
        QVERIFY(QFile::link(linkTarget, link));
        const QByteArray tableBefore = FileBytes::of(programFile());

        AtomicFileWriter writer(link);
        writer.write("Date;Coût\r\n");
        writer.commit();

        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(FileBytes::of(link), QByteArray("Date;Coût\r\n"));
        QCOMPARE(FileBytes::of(programFile()), tableBefore);
        QCOMPARE(QFileInfo::exists(dir_->filePath("programme/nouveau.DB")), false);
        QCOMPARE(QFileInfo::exists(QFileInfo(link).dir().absoluteFilePath(linkTarget)),
                 targetExists);
        // A new file of ours: the target's read-for-others does not come with it.
        QCOMPARE(linkFreeMode(link) & 07777, mode_t(0600));
        QCOMPARE(QDir(dir_->filePath("partage")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"soins.csv"}));
    }

    void abandonedWriteLeavesTheLinkAsItWas()
    {
        const QString link = dir_->filePath("partage/soins.csv");
        QVERIFY(QFile::link("../programme/TALO.DB", link));
        {
            AtomicFileWriter writer(link);
            writer.write("half");
        }
        QCOMPARE(QFileInfo(link).symLinkTarget(), programFile());
        QCOMPARE(
            QDir(dir_->filePath("partage"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({"soins.csv"}));
    }

    void plainFileKeepsItsPermissions()
    {
        const QString path = dir_->filePath("partage/soins.csv");
        FileBytes::put(path, "old");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup));
        AtomicFileWriter writer(path);
        writer.write("new");
        writer.commit();
        QCOMPARE(FileBytes::of(path), QByteArray("new"));
        QCOMPARE(linkFreeMode(path) & 07777, mode_t(0640));
    }

private:
    QString programFile() const { return dir_->filePath("programme/TALO.DB"); }

    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(TestAtomicFileWriter)
#include "test_atomic_file_writer.moc"
