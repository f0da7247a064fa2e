#include "FakeBackupSources.h"

#include "platform/core/PrivateProfile.h"
#include "safety/BackupPlace.h"
#include "support/PermissionsEnforced.h"

#include <QTest>

namespace
{

void touch(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestBackupPlace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startingFolder_data();
    void startingFolder();
    void folderRememberedBetweenRuns();
    void unreadableIniRemembersNothing();
    void foreignEntries_data();
    void foreignEntries();
    void question_data();
    void question();
    void copiedMessage();
};

void TestBackupPlace::startingFolder_data()
{
    QTest::addColumn<QString>("remembered"); // "existing", "gone" or none
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("expected");
    const QStringList noDisk{"/", "/boot", "/home", "/mnt/data", "/run/user/1000"};
    const QStringList keys{"/", "/home", "/media/marie/CLE", "/media/marie/DISQUE"};
    QTest::newRow("remembered folder first") << "existing" << keys << "<remembered>";
    QTest::newRow("remembered folder gone: the key") << "gone" << keys << "/media/marie/CLE";
    QTest::newRow("nothing remembered: the key") << "" << keys << "/media/marie/CLE";
    QTest::newRow("no key: home") << "gone" << noDisk << "<home>";
    QTest::newRow("no key, remembered folder there") << "existing" << noDisk << "<remembered>";
    // /media itself or a name that only starts like it is no removable disk.
    QTest::newRow("not under /media/")
        << "" << QStringList{"/", "/media", "/mediatheque"} << "<home>";
}

void TestBackupPlace::startingFolder()
{
    QFETCH(QString, remembered);
    QFETCH(QStringList, roots);
    QFETCH(QString, expected);
    QTemporaryDir home;
    const QString copies = home.filePath(QStringLiteral("Copies"));
    if (remembered == QLatin1String("existing"))
        QVERIFY(QDir().mkdir(copies));
    if (!remembered.isEmpty())
        remembered = copies;
    expected.replace(QStringLiteral("<remembered>"), copies);
    expected.replace(QStringLiteral("<home>"), home.path());
    QCOMPARE(BackupPlace::startingFolder(remembered, roots, home.path()), expected);
}

void TestBackupPlace::folderRememberedBetweenRuns()
{
    FakeBackupSources sources;
    const QByteArray before = FileBytes::of(sources.programDir + "talo.ini");
    QCOMPARE(BackupPlace::remembered(sources.programDir), QString());
    const QString folder = QStringLiteral("/media/marie/Clé USB/Santé ; copies");
    BackupPlace::remember(sources.programDir, folder);
    QCOMPARE(BackupPlace::remembered(sources.programDir), folder);
    const QString ini = sources.programDir + "talo.ini";
    QCOMPARE(PrivateProfile::readString(ini, "Sauvegarde", "DernierDossier"), folder);
    // The list of files to copy is left as it was, line for line.
    QVERIFY(FileBytes::of(ini).startsWith(before));
    QCOMPARE(PrivateProfile::readString(ini, "ListeFichiers", "4"), QStringLiteral("talo.ini"));
    // A second backup elsewhere replaces it rather than adding a line.
    BackupPlace::remember(sources.programDir, QStringLiteral("/home/marie/Copies"));
    QCOMPARE(BackupPlace::remembered(sources.programDir), QStringLiteral("/home/marie/Copies"));
    QCOMPARE(FileBytes::of(ini).count("DernierDossier"), 1);
}

void TestBackupPlace::unreadableIniRemembersNothing()
{
    FakeBackupSources sources;
    BackupPlace::remember(sources.programDir, QStringLiteral("/home/marie/Copies"));
    const QString ini = sources.programDir + "talo.ini";
    QVERIFY(QFile::setPermissions(ini, QFileDevice::WriteOwner));
    PermissionsEnforced enforced;
    QFile probe(ini);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("permission bits are not enforced for this process");
    QCOMPARE(BackupPlace::remembered(sources.programDir), QString());
}

void TestBackupPlace::foreignEntries_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("expected");
    const QStringList copy{"TALO.DB",     "MEDECINS.DB",  "ASSURE.DB", "LSTBENEF.LST",
                           "talosoc.inf", "mutuelle.inf", "talo.ini"};
    QTest::newRow("empty folder") << QStringList() << QStringList() << QStringList();
    QTest::newRow("an earlier copy") << copy << QStringList() << QStringList();
    QTest::newRow("an earlier copy written under other cases")
        << QStringList{"talo.db", "Medecins.db", "TALOSOC.INF", "Talo.INI"} << QStringList()
        << QStringList();
    QTest::newRow("companions of a table")
        << QStringList{"TALO.DB", "TALO.DB-wal", "TALO.DB-shm", "ASSURE.DB-journal"}
        << QStringList() << QStringList();
    QTest::newRow("a home folder") << QStringList{"photo.jpg", "LSTBENEF.LST", "Lettre.odt"}
                                   << QStringList{"Documents", "Images"}
                                   << QStringList{"Documents", "Images", "Lettre.odt", "photo.jpg"};
    QTest::newRow("hidden entries do not count") << QStringList{".bashrc", ".TALO.DB.Ab12Cd.tmp"}
                                                 << QStringList{".Trash-1000"} << QStringList();
    QTest::newRow("a table's name inside a longer one")
        << QStringList{"TALO.DB.old", "ancien TALO.DB"} << QStringList{"TALO"}
        << QStringList{"TALO", "TALO.DB.old", "ancien TALO.DB"};
}

void TestBackupPlace::foreignEntries()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, expected);
    FakeBackupSources sources;
    QTemporaryDir target;
    for (const QString &name : files)
        touch(target.filePath(name));
    for (const QString &name : folders)
        QVERIFY(QDir(target.path()).mkdir(name));
    QStringList found = BackupPlace::foreignEntries(target.path(), sources.programDir);
    found.sort(Qt::CaseInsensitive);
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(found, expected);
}

void TestBackupPlace::question_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("listed");
    QTest::newRow("one") << 1 << "un élément qui ne vient pas d'une copie de Talo 3.0 : f1.";
    QTest::newRow("five")
        << 5 << "5 éléments qui ne viennent pas d'une copie de Talo 3.0 : f1, f2, f3, f4, f5.";
    QTest::newRow("six") << 6
                         << "6 éléments qui ne viennent pas d'une copie de Talo 3.0 : f1, f2, "
                            "f3, f4, f5 et un autre.";
    QTest::newRow("forty") << 40
                           << "40 éléments qui ne viennent pas d'une copie de Talo 3.0 : f1, "
                              "f2, f3, f4, f5 et 35 autres.";
}

void TestBackupPlace::question()
{
    QFETCH(int, count);
    QFETCH(QString, listed);
    QStringList entries;
    for (int i = 1; i <= count; ++i)
        entries.append(QStringLiteral("f%1").arg(i));
    const QString text = BackupPlace::foreignEntriesQuestion("/home/marie", entries);
    QVERIFY2(text.startsWith(QStringLiteral("Le dossier /home/marie contient déjà ") + listed),
             qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral("Faire quand même la copie dans ce dossier ?")));
}

void TestBackupPlace::copiedMessage()
{
    QCOMPARE(BackupPlace::copiedMessage(3, 4, "/media/marie/CLE/Talo"),
             QStringLiteral("Copie terminée : 3 tables et 4 fichiers dans /media/marie/CLE/Talo."));
    QCOMPARE(BackupPlace::copiedMessage(1, 1, "/"),
             QStringLiteral("Copie terminée : 1 table et 1 fichier dans /."));
}

QTEST_MAIN(TestBackupPlace)
#include "test_backup_place.moc"
