#include "BackupChecks.h"
#include "FakeBackupSources.h"

#include "recovery/BackupCopy.h"

#include <QTest>

namespace
{
const QStringList fullBackup{"ASSURE.DB",    "LSTBENEF.LST", "MEDECINS.DB", "TALO.DB",
                             "mutuelle.inf", "talo.ini",     "talosoc.inf"};
}

class TestBackupCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void targetFolder_data();
    void targetFolder();
    void copiesEverythingIntoFreshFolder();
    void sideFilesRefreshedBeforeTheCopy();
    void refusesProgramDirectory_data();
    void refusesProgramDirectory();
    void secondBackupReplacesTheFirst();
    void hiddenRowsAreCopied();
    void newCopiesAreOwnerOnly();
    void existingCopyInOtherCaseIsRewritten();
    void folderDifferingOnlyInCaseIsAnotherFolder();
    void leftoversOfAKilledBackupAreRemoved();
};

void TestBackupCopy::targetFolder_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("target");
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("volume root") << "/media/CLE/"
                                 << "/media/CLE/";
    QTest::newRow("folder") << "/home/marie/Mes copies"
                            << "/home/marie/Mes copies/";
}

void TestBackupCopy::targetFolder()
{
    QFETCH(QString, shown);
    QFETCH(QString, target);
    QCOMPARE(BackupCopy::targetFolder(shown), target);
}

void TestBackupCopy::copiesEverythingIntoFreshFolder()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    const QString to = target.path() + QStringLiteral("/");
    QCOMPARE(BackupCopy::run(sources.programDir, target.path(), sources),
             BackupCopy::Outcome::Copied);
    QCOMPARE(sources.calls, QStringList({"writeSideFiles", "resetRegisterView", "tableCopies"}));
    QCOMPARE(folderEntries(to), fullBackup);

    // Every table reopened from the target holds the source's rows, field for field.
    for (const TableDefinition *def :
         {&CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()})
        QCOMPARE(rowsOf(*def, to), rowsOf(*def, sources.programDir));
    const QList<QStringList> care = rowsOf(CareEntryTable::definition(), to);
    const int who = CareEntryTable::definition().indexOf(CareFields::Beneficiaire);
    const int note = CareEntryTable::definition().indexOf(CareFields::NoteSoins);
    QCOMPARE(care.size(), 3);
    QCOMPARE(care.at(0).at(who), QStringLiteral("DUPONT"));
    QCOMPARE(care.at(0).at(note), QStringLiteral("Première note\navec deux lignes"));
    QCOMPARE(rowsOf(DoctorTable::definition(), to).size(), 2);
    QCOMPARE(rowsOf(InsuredTable::definition(), to).size(), 1);

    // With their keys.
    QVERIFY(uniqueIndexes(to + "TALO.DB", "TALO").contains("Date soins;Beneficiaire;Numero"));
    QVERIFY(uniqueIndexes(to + "MEDECINS.DB", "MEDECINS").contains("Nom;Prenom;Numero"));
    QVERIFY(uniqueIndexes(to + "ASSURE.DB", "ASSURE").contains("Nom;Prenom;Numero"));

    for (const char *name : {"LSTBENEF.LST", "talosoc.inf", "mutuelle.inf", "talo.ini"})
        QCOMPARE(FileBytes::of(to + name), FileBytes::of(sources.programDir + name));
}

void TestBackupCopy::sideFilesRefreshedBeforeTheCopy()
{
    FakeBackupSources sources;
    sources.beneficiaries = {"TOUS", "DUPONT", "MARTIN", "NOUVEAU"};
    QTemporaryDir target;
    BackupCopy::run(sources.programDir, target.path(), sources);
    QCOMPARE(FileBytes::of(target.path() + "/LSTBENEF.LST"),
             QByteArray("TOUS\r\nDUPONT\r\nMARTIN\r\nNOUVEAU\r\n"));
    QCOMPARE(FileBytes::of(target.path() + "/mutuelle.inf"),
             QByteArray("Mutuelle G\xe9n\xe9rale\r\n2 rue Basse\r\n01 02 03 04 05\r\n987\r\n"
                        "Tiers payant\r\n"));
}

void TestBackupCopy::refusesProgramDirectory_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how :
         {"as is", "without trailing separator", "through a symbolic link", "with a dot component"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestBackupCopy::refusesProgramDirectory()
{
    QFETCH(QString, how);
    FakeBackupSources sources;
    const QString bare = sources.dir.path();
    QTemporaryDir links;
    QString shown = sources.programDir;
    if (how == "without trailing separator")
        shown = bare;
    else if (how == "with a dot component")
        shown = sources.programDir + QStringLiteral("./");
    else if (how == "through a symbolic link") {
        shown = links.path() + QStringLiteral("/raccourci");
        QVERIFY(QFile::link(bare, shown));
    }
    const QStringList before = folderEntries(sources.programDir);
    const QByteArray list = FileBytes::of(sources.programDir + "LSTBENEF.LST");

    QCOMPARE(BackupCopy::run(sources.programDir, shown, sources),
             BackupCopy::Outcome::RefusedProgramDirectory);
    QVERIFY(sources.calls.isEmpty());
    QCOMPARE(folderEntries(sources.programDir), before);
    QCOMPARE(FileBytes::of(sources.programDir + "LSTBENEF.LST"), list);
}

void TestBackupCopy::secondBackupReplacesTheFirst()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    const QString to = target.path() + QStringLiteral("/");
    BackupCopy::run(sources.programDir, target.path(), sources);

    sources.addCare(QDate(2025, 7, 1), "MARTIN", 990, "Dr Dupuis", QString());
    sources.beneficiaries = {"TOUS", "MARTIN"};
    QCOMPARE(BackupCopy::run(sources.programDir, target.path(), sources),
             BackupCopy::Outcome::Copied);
    QCOMPARE(rowsOf(CareEntryTable::definition(), to).size(), 4);
    QCOMPARE(rowsOf(CareEntryTable::definition(), to),
             rowsOf(CareEntryTable::definition(), sources.programDir));
    QCOMPARE(FileBytes::of(to + "LSTBENEF.LST"), QByteArray("TOUS\r\nMARTIN\r\n"));
    // No temporary file left behind, no twin.
    QCOMPARE(folderEntries(to), fullBackup);
}

void TestBackupCopy::hiddenRowsAreCopied()
{
    FakeBackupSources sources;
    sources.filterOnDupont();
    QCOMPARE(sources.care.recordCount(), 2);
    QTemporaryDir target;
    BackupCopy::run(sources.programDir, target.path(), sources);
    QVERIFY(!sources.care.isFiltered());
    const QList<QStringList> rows = rowsOf(CareEntryTable::definition(), target.path());
    const int who = CareEntryTable::definition().indexOf(CareFields::Beneficiaire);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).at(who), QStringLiteral("MARTIN"));
}

void TestBackupCopy::newCopiesAreOwnerOnly()
{
    FakeBackupSources sources;
    QFile::setPermissions(sources.programDir + "talo.ini",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QTemporaryDir target;
    BackupCopy::run(sources.programDir, target.path(), sources);
    for (const char *name : {"talo.ini", "LSTBENEF.LST", "TALO.DB"}) {
        const QFileDevice::Permissions perms = QFileInfo(target.path() + "/" + name).permissions();
        QVERIFY2(!(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther)), name);
    }
}

void TestBackupCopy::existingCopyInOtherCaseIsRewritten()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    QFile old(target.path() + "/lstbenef.lst");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancienne copie\r\n");
    old.close();
    BackupCopy::run(sources.programDir, target.path(), sources);
    const QStringList entries = folderEntries(target.path());
    QVERIFY(entries.contains(QStringLiteral("lstbenef.lst")));
    QVERIFY(!entries.contains(QStringLiteral("LSTBENEF.LST")));
    QCOMPARE(FileBytes::of(target.path() + "/lstbenef.lst"),
             QByteArray("TOUS\r\nDUPONT\r\nMARTIN\r\n"));
}

// "P2" beside "p2": on a file system that tells case apart, that is another folder.
void TestBackupCopy::folderDifferingOnlyInCaseIsAnotherFolder()
{
    FakeBackupSources sources;
    const QFileInfo program(sources.dir.path());
    const QString other = program.absolutePath() + "/" + program.fileName().toUpper();
    QVERIFY(other != program.absoluteFilePath());
    QVERIFY(QDir().mkdir(other));
    const auto outcome = BackupCopy::run(sources.programDir, other, sources);
    const QStringList copied = folderEntries(other);
    QDir(other).removeRecursively();
    QCOMPARE(outcome, BackupCopy::Outcome::Copied);
    QCOMPARE(copied, fullBackup);
}

// A backup killed mid-copy leaves hidden temporary files; the next one removes those of its
// own files, and nothing else.
void TestBackupCopy::leftoversOfAKilledBackupAreRemoved()
{
    FakeBackupSources sources;
    QTemporaryDir target;
    const QString to = target.path() + "/";
    const QStringList others{".photo.jpg.Ab12Cd.tmp", "TALO.DB.sauve"};
    for (const QString &name : others + QStringList{".TALO.DB.Xy34Zw.tmp", ".talo.ini.Qr56St.tmp",
                                                    ".ASSURE.DB.Mn78Op.tmp"})
        FileBytes::put(to + name, QByteArray(64 * 1024, 'x'));
    BackupCopy::run(sources.programDir, target.path(), sources);
    QStringList expected = fullBackup + others;
    expected.sort();
    QCOMPARE(folderEntries(to), expected);
}

QTEST_MAIN(TestBackupCopy)
#include "test_backup_copy.moc"
