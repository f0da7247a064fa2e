#include "support/FileBytes.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFolder.h"

#include "platform/core/PlatformError.h"
#include "reference/BeneficiaryListFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestBeneficiaryListFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loadsEntries_data();
    void loadsEntries();
    void loadFindsNameInAnyCase();
    void missingFileThrows();
    void savedBytes_data();
    void savedBytes();
    void saveRewritesExistingFileUnderItsOwnCase();
    void roundTripKeepsEveryEntry();
    void newFileIsForItsOwnerOnly();
    void saveIntoReadOnlyFolderThrowsAndKeepsOldFile();

private:
    QString dirPath() const { return QDir(dir_->path()).filePath(QString()); }
    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }
    QTemporaryDir *dir_ = nullptr;
};

void TestBeneficiaryListFile::init()
{
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
}

void TestBeneficiaryListFile::cleanup()
{
    delete dir_;
    dir_ = nullptr;
}

void TestBeneficiaryListFile::loadsEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("CR LF") << QByteArray("TOUS\r\nMARIE\r\n") << QStringList{"TOUS", "MARIE"};
    QTest::newRow("LF") << QByteArray("TOUS\nMARIE\n") << QStringList{"TOUS", "MARIE"};
    QTest::newRow("CR") << QByteArray("TOUS\rMARIE\r") << QStringList{"TOUS", "MARIE"};
    QTest::newRow("mixed ends") << QByteArray("TOUS\rMARIE\nPAUL\r\nLOU\r\n")
                                << QStringList{"TOUS", "MARIE", "PAUL", "LOU"};
    QTest::newRow("last line without end")
        << QByteArray("TOUS\r\nMARIE") << QStringList{"TOUS", "MARIE"};
    QTest::newRow("empty line is an empty entry")
        << QByteArray("TOUS\r\n\r\nMARIE\r\n") << QStringList{"TOUS", "", "MARIE"};
    QTest::newRow("empty last entry") << QByteArray("TOUS\r\n\r\n") << QStringList{"TOUS", ""};
    QTest::newRow("blanks kept") << QByteArray(" PAUL  \r\n   \r\n")
                                 << QStringList{" PAUL  ", "   "};
    QTest::newRow("first line not TOUS")
        << QByteArray("MARIE\r\nTOUS\r\n") << QStringList{"MARIE", "TOUS"};
    QTest::newRow("Windows-1252") << QByteArray("TOUS\r\n\xC9LODIE\r\nFRAN\xC7OIS\r\n")
                                  << QStringList{"TOUS", "ÉLODIE", "FRANÇOIS"};
    QTest::newRow("UTF-8") << QByteArray("TOUS\r\n\xC3\x89LODIE\r\n")
                           << QStringList{"TOUS", "ÉLODIE"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestBeneficiaryListFile::loadsEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    FileBytes::put(path("LSTBENEF.LST"), bytes);
    QCOMPARE(BeneficiaryListFile::load(dirPath()), entries);
}

void TestBeneficiaryListFile::loadFindsNameInAnyCase()
{
    FileBytes::put(path("LstBenef.lst"), "TOUS\r\nMARIE\r\n");
    QCOMPARE(BeneficiaryListFile::load(dirPath()), (QStringList{"TOUS", "MARIE"}));
}

void TestBeneficiaryListFile::missingFileThrows()
{
    QVERIFY_THROWS_EXCEPTION(PlatformError, BeneficiaryListFile::load(dirPath()));
}

void TestBeneficiaryListFile::savedBytes_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("first run") << QStringList{"TOUS"} << QByteArray("TOUS\r\n");
    QTest::newRow("names") << QStringList{"TOUS", "MARIE", "PAUL"}
                           << QByteArray("TOUS\r\nMARIE\r\nPAUL\r\n");
    QTest::newRow("empty and blank entries")
        << QStringList{"TOUS", "", "  "} << QByteArray("TOUS\r\n\r\n  \r\n");
    QTest::newRow("accents in Windows-1252")
        << QStringList{"TOUS", "ÉLODIE"} << QByteArray("TOUS\r\n\xC9LODIE\r\n");
    QTest::newRow("beyond Windows-1252 in UTF-8")
        << QStringList{"TOUS", "ŁUKASZ"} << QByteArray("TOUS\r\n\xC5\x81UKASZ\r\n");
}

void TestBeneficiaryListFile::savedBytes()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, bytes);
    BeneficiaryListFile::save(dirPath(), entries);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"LSTBENEF.LST"});
    QCOMPARE(FileBytes::of(path("LSTBENEF.LST")), bytes);
}

void TestBeneficiaryListFile::saveRewritesExistingFileUnderItsOwnCase()
{
    FileBytes::put(path("lstbenef.lst"), "TOUS\r\nANCIEN\r\n");
    BeneficiaryListFile::save(dirPath(), {"TOUS", "NOUVEAU"});
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"lstbenef.lst"});
    QCOMPARE(FileBytes::of(path("lstbenef.lst")), QByteArray("TOUS\r\nNOUVEAU\r\n"));
}

void TestBeneficiaryListFile::roundTripKeepsEveryEntry()
{
    const QStringList entries{"TOUS", "", "MARIE-ÈVE", " PAUL ", "MARIE-ÈVE", ""};
    BeneficiaryListFile::save(dirPath(), entries);
    QCOMPARE(BeneficiaryListFile::load(dirPath()), entries);
}

void TestBeneficiaryListFile::newFileIsForItsOwnerOnly()
{
    BeneficiaryListFile::save(dirPath(), {"TOUS"});
    // Owner, group and others (the "user" bits only restate the owner's for our own file).
    const auto ownerGroupOthers = QFileDevice::Permissions(0x7077);
    QCOMPARE(QFile::permissions(path("LSTBENEF.LST")) & ownerGroupOthers,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestBeneficiaryListFile::saveIntoReadOnlyFolderThrowsAndKeepsOldFile()
{
    FileBytes::put(path("LSTBENEF.LST"), "TOUS\r\nMARIE\r\n");
    ReadOnlyFolder readOnly(dir_->path());
    if (!readOnly.isReadOnly())
        QSKIP("the folder cannot be made read-only here");
    QString message;
    try {
        PermissionsEnforced enforced;
        BeneficiaryListFile::save(dirPath(), {"TOUS"});
    } catch (const PlatformError &e) {
        message = e.message();
    }
    QVERIFY2(message.startsWith("Impossible d'écrire le fichier "), qPrintable(message));
    QCOMPARE(FileBytes::of(path("LSTBENEF.LST")), QByteArray("TOUS\r\nMARIE\r\n"));
}

QTEST_GUILESS_MAIN(TestBeneficiaryListFile)
#include "test_beneficiary_list_file.moc"
