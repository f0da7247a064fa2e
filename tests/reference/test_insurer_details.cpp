#include "support/FileBytes.h"
#include "support/PermissionsEnforced.h"
#include "support/ReadOnlyFolder.h"

#include "platform/core/PlatformError.h"
#include "reference/InsurerDetails.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using File = InsurerDetails::File;

class TestInsurerDetails : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithEmptyValues();
    void setValuesFitsTheLineCount();
    void loadsLines_data();
    void loadsLines();
    void missingFilesLeaveValuesEmptySilently();
    void namesMatchedInAnyCaseAndRewrittenUnderTheirOwn();
    void firstRunWritesEmptyLines();
    void savedBytes();
    void lineBreakInValueBecomesBlank_data();
    void lineBreakInValueBecomesBlank();
    void unreadableFileIsKeptAtSave();
    void folderInPlaceOfFileIsKept();
    void saveIntoReadOnlyFolderThrowsAndKeepsBothFiles();
    void roundTrip();

private:
    QString dirPath() const { return QDir(dir_->path()).filePath(QString()); }
    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }
    QTemporaryDir *dir_ = nullptr;
};

void TestInsurerDetails::init()
{
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
}

void TestInsurerDetails::cleanup()
{
    QFile::setPermissions(path("talosoc.inf"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    delete dir_;
    dir_ = nullptr;
}

void TestInsurerDetails::startsWithEmptyValues()
{
    const InsurerDetails details;
    QCOMPARE(details.values(File::Social), QStringList(4, QString()));
    QCOMPARE(details.values(File::Mutual), QStringList(5, QString()));
    QVERIFY(!details.isKept(File::Social));
    QVERIFY(!details.isKept(File::Mutual));
}

void TestInsurerDetails::setValuesFitsTheLineCount()
{
    InsurerDetails details;
    details.setValues(File::Social, {"a", "b"});
    QCOMPARE(details.values(File::Social), (QStringList{"a", "b", "", ""}));
    details.setValues(File::Mutual, {"1", "2", "3", "4", "5", "6"});
    QCOMPARE(details.values(File::Mutual), (QStringList{"1", "2", "3", "4", "5"}));
}

void TestInsurerDetails::loadsLines_data()
{
    QTest::addColumn<QByteArray>("social");
    QTest::addColumn<QStringList>("socialValues");
    QTest::addColumn<QByteArray>("mutual");
    QTest::addColumn<QStringList>("mutualValues");

    QTest::newRow("exact counts") << QByteArray("CPAM\r\n751\r\nParis\r\n12 rue X\r\n")
                                  << QStringList{"CPAM", "751", "Paris", "12 rue X"}
                                  << QByteArray("MGEN\r\n3 av Y\r\n01-02\r\n42\r\nVirement\r\n")
                                  << QStringList{"MGEN", "3 av Y", "01-02", "42", "Virement"};
    QTest::newRow("shorter files fill what they have")
        << QByteArray("CPAM\r\n751\r\n") << QStringList{"CPAM", "751", "", ""} << QByteArray("MGEN")
        << QStringList{"MGEN", "", "", "", ""};
    QTest::newRow("lines beyond the count ignored")
        << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n") << QStringList{"a", "b", "c", "d"}
        << QByteArray("1\n2\n3\n4\n5\n6\n") << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("empty lines and blanks kept")
        << QByteArray("\r\n  CPAM \r\n\r\nx\r\n") << QStringList{"", "  CPAM ", "", "x"}
        << QByteArray("\r\r\r\r\r") << QStringList{"", "", "", "", ""};
    QTest::newRow("Windows-1252 and CR ends")
        << QByteArray("S\xE9\x63urit\xE9\rN\xB0 7\r\r\r") << QStringList{"Sécurité", "N° 7", "", ""}
        << QByteArray("Mutuelle \xC9l\xE8ve\r\n\r\n\r\n\r\nCh\xE8que\r\n")
        << QStringList{"Mutuelle Élève", "", "", "", "Chèque"};
    QTest::newRow("empty files") << QByteArray() << QStringList(4, QString()) << QByteArray()
                                 << QStringList(5, QString());
}

void TestInsurerDetails::loadsLines()
{
    QFETCH(QByteArray, social);
    QFETCH(QStringList, socialValues);
    QFETCH(QByteArray, mutual);
    QFETCH(QStringList, mutualValues);
    FileBytes::put(path("talosoc.inf"), social);
    FileBytes::put(path("mutuelle.inf"), mutual);
    InsurerDetails details;
    QCOMPARE(details.load(dirPath()), QStringList());
    QCOMPARE(details.values(File::Social), socialValues);
    QCOMPARE(details.values(File::Mutual), mutualValues);
    QVERIFY(!details.isKept(File::Social));
    QVERIFY(!details.isKept(File::Mutual));
}

void TestInsurerDetails::missingFilesLeaveValuesEmptySilently()
{
    InsurerDetails details;
    details.setValues(File::Social, {"reste d'avant"});
    QCOMPARE(details.load(dirPath()), QStringList());
    QCOMPARE(details.values(File::Social), QStringList(4, QString()));
    QCOMPARE(details.values(File::Mutual), QStringList(5, QString()));
    QVERIFY(!details.isKept(File::Social));
}

void TestInsurerDetails::namesMatchedInAnyCaseAndRewrittenUnderTheirOwn()
{
    FileBytes::put(path("TALOSOC.INF"), "A\r\nB\r\nC\r\nD\r\n");
    FileBytes::put(path("Mutuelle.Inf"), "1\r\n2\r\n3\r\n4\r\n5\r\n");
    InsurerDetails details;
    details.load(dirPath());
    QCOMPARE(details.values(File::Social), (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(details.values(File::Mutual), (QStringList{"1", "2", "3", "4", "5"}));
    details.setValues(File::Social, {"W", "X", "Y", "Z"});
    details.save(dirPath());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"Mutuelle.Inf", "TALOSOC.INF"}));
    QCOMPARE(FileBytes::of(path("TALOSOC.INF")), QByteArray("W\r\nX\r\nY\r\nZ\r\n"));
}

void TestInsurerDetails::firstRunWritesEmptyLines()
{
    InsurerDetails details;
    details.load(dirPath());
    details.save(dirPath());
    QCOMPARE(FileBytes::of(path("talosoc.inf")), QByteArray("\r\n\r\n\r\n\r\n"));
    QCOMPARE(FileBytes::of(path("mutuelle.inf")), QByteArray("\r\n\r\n\r\n\r\n\r\n"));
}

void TestInsurerDetails::savedBytes()
{
    InsurerDetails details;
    details.setValues(File::Social, {"CPAM de Lyon", "691", "", "5 place Bellecour"});
    details.setValues(File::Mutual,
                      {"Mutuelle Générale", " 2 rue ", "04-72-00-00-00", "", "Chèque"});
    details.save(dirPath());
    QCOMPARE(FileBytes::of(path("talosoc.inf")),
             QByteArray("CPAM de Lyon\r\n691\r\n\r\n5 place Bellecour\r\n"));
    QCOMPARE(
        FileBytes::of(path("mutuelle.inf")),
        QByteArray("Mutuelle G\xE9n\xE9rale\r\n 2 rue \r\n04-72-00-00-00\r\n\r\nCh\xE8que\r\n"));
}

void TestInsurerDetails::lineBreakInValueBecomesBlank_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("LF") << "12 rue\ndes Lilas" << QByteArray("12 rue des Lilas\r\n");
    QTest::newRow("CR LF as one") << "12 rue\r\ndes Lilas" << QByteArray("12 rue des Lilas\r\n");
    QTest::newRow("CR") << "a\rb" << QByteArray("a b\r\n");
    QTest::newRow("two breaks") << "a\n\nb" << QByteArray("a  b\r\n");
    QTest::newRow("trailing break") << "a\n" << QByteArray("a \r\n");
}

void TestInsurerDetails::lineBreakInValueBecomesBlank()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    InsurerDetails details;
    details.setValues(File::Social, {"", "", "", value});
    details.save(dirPath());
    QCOMPARE(FileBytes::of(path("talosoc.inf")), QByteArray("\r\n\r\n\r\n") + line);
}

void TestInsurerDetails::unreadableFileIsKeptAtSave()
{
    const QByteArray stored("CPAM\r\n751\r\nParis\r\n12 rue X\r\n");
    FileBytes::put(path("talosoc.inf"), stored);
    QVERIFY(QFile::setPermissions(path("talosoc.inf"), QFileDevice::WriteOwner));
    InsurerDetails details;
    QStringList errors;
    {
        PermissionsEnforced enforced;
        errors = details.load(dirPath());
    }
    if (errors.isEmpty())
        QSKIP("permission bits are not enforced here");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith("Impossible de lire le fichier "),
             qPrintable(errors.first()));
    QVERIFY(errors.first().contains("talosoc.inf"));
    QVERIFY(details.isKept(File::Social));
    QVERIFY(!details.isKept(File::Mutual));
    QCOMPARE(details.values(File::Social), QStringList(4, QString()));

    details.setValues(File::Mutual, {"MGEN"});
    details.save(dirPath());
    QVERIFY(QFile::setPermissions(path("talosoc.inf"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(FileBytes::of(path("talosoc.inf")), stored);
    QCOMPARE(FileBytes::of(path("mutuelle.inf")), QByteArray("MGEN\r\n\r\n\r\n\r\n\r\n"));
}

void TestInsurerDetails::folderInPlaceOfFileIsKept()
{
    QVERIFY(QDir(dir_->path()).mkdir("mutuelle.inf"));
    InsurerDetails details;
    const QStringList errors = details.load(dirPath());
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains("mutuelle.inf"));
    QVERIFY(details.isKept(File::Mutual));
    // Nothing is attempted on the kept file, so saving succeeds for the other one.
    details.save(dirPath());
    QVERIFY(QFileInfo(path("mutuelle.inf")).isDir());
    QCOMPARE(FileBytes::of(path("talosoc.inf")), QByteArray("\r\n\r\n\r\n\r\n"));
}

void TestInsurerDetails::saveIntoReadOnlyFolderThrowsAndKeepsBothFiles()
{
    FileBytes::put(path("talosoc.inf"), "A\r\nB\r\nC\r\nD\r\n");
    FileBytes::put(path("mutuelle.inf"), "1\r\n2\r\n3\r\n4\r\n5\r\n");
    InsurerDetails details;
    details.load(dirPath());
    details.setValues(File::Social, {"autre"});
    details.setValues(File::Mutual, {"autre"});
    ReadOnlyFolder readOnly(dir_->path());
    if (!readOnly.isReadOnly())
        QSKIP("the folder cannot be made read-only here");
    QString message;
    try {
        PermissionsEnforced enforced;
        details.save(dirPath());
    } catch (const PlatformError &e) {
        message = e.message();
    }
    // Both files were attempted and both failures are told.
    QVERIFY2(message.contains(path("talosoc.inf")), qPrintable(message));
    QVERIFY2(message.contains(path("mutuelle.inf")), qPrintable(message));
    QCOMPARE(FileBytes::of(path("talosoc.inf")), QByteArray("A\r\nB\r\nC\r\nD\r\n"));
    QCOMPARE(FileBytes::of(path("mutuelle.inf")), QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n"));
}

void TestInsurerDetails::roundTrip()
{
    const QStringList social{"Sécurité sociale", "", "  Caisse  ", "1 rue ŒUVRE"};
    const QStringList mutual{"M", "Adresse", "01-23-45-67-89", "N° 12", ""};
    {
        InsurerDetails details;
        details.setValues(File::Social, social);
        details.setValues(File::Mutual, mutual);
        details.save(dirPath());
    }
    InsurerDetails again;
    QCOMPARE(again.load(dirPath()), QStringList());
    QCOMPARE(again.values(File::Social), social);
    QCOMPARE(again.values(File::Mutual), mutual);
}

QTEST_GUILESS_MAIN(TestInsurerDetails)
#include "test_insurer_details.moc"
