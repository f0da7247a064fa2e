#include "support/FileBytes.h"
#include "support/FolderSnapshot.h"
#include "support/ProofSamples.h"
#include "support/ThrownMessage.h"

#include "platform/core/PrivateProfile.h"
#include "platform/core/SideFile.h"
#include "platform/store/TableStorage.h"
#include "proofs/ProofStore.h"
#include "recovery/PasswordHash.h"
#include "recovery/PasswordStore.h"
#include "recovery/RestoreCandidate.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <map>

#include <sqlite3.h>
#include <sys/stat.h>

namespace
{

using Files = FolderSnapshot::Files;

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

const QStringList listedFiles{"[ListeFichiers]", "1=LSTBENEF.LST", "2=talosoc.inf",
                              "3=mutuelle.inf", "4=talo.ini"};

// A folder holding what a program directory or a backup holds: the three tables (empty) and
// the four listed files.
void fillFolder(const QString &folder, const QStringList &extraIniLines = {})
{
    for (const TableDefinition *def :
         {&CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()})
        QVERIFY(TableStorage::createFile(QDir(folder).filePath(def->fileName()), *def));
    SideFile::writeLines(QDir(folder).filePath("LSTBENEF.LST"), {"TOUS", "DUPONT"});
    SideFile::writeLines(QDir(folder).filePath("talosoc.inf"), {"CPAM", "1", "Lyon", "rue"});
    SideFile::writeLines(QDir(folder).filePath("mutuelle.inf"), {"M", "a", "t", "n", "m"});
    SideFile::writeLines(QDir(folder).filePath("talo.ini"), listedFiles + extraIniLines);
}

void sql(sqlite3 *db, const char *statement)
{
    char *error = nullptr;
    if (sqlite3_exec(db, statement, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s: %s", statement, error);
}

void addCareRows(sqlite3 *db, int count, int firstDay)
{
    for (int i = 0; i < count; ++i)
        sql(db, qPrintable(QStringLiteral("INSERT INTO TALO(\"Date soins\", Beneficiaire, Cout) "
                                          "VALUES ('2024-05-%1', 'DUPONT', 10.5)")
                               .arg(firstDay + i, 2, 10, QLatin1Char('0'))));
}

} // namespace

class TestRestoreCandidate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rowsStillInTheLogAreRestored();
    void onlyRegularFilesAreTaken_data();
    void onlyRegularFilesAreTaken();
    void passwordInForceIsKept_data();
    void passwordInForceIsKept();

    void proofsAreCheckedAndCounted();
    void proofNotSoundRefusesTheCopy_data();
    void proofNotSoundRefusesTheCopy();

private:
    // Two proofs attached to the backup's one care entry.
    std::vector<ProofLink> attachToBackup();

    std::unique_ptr<QTemporaryDir> program_, backup_;
    QString programDir() const { return program_->path() + "/"; }
    QString backupDir() const { return backup_->path(); }
};

void TestRestoreCandidate::init()
{
    program_ = std::make_unique<QTemporaryDir>();
    backup_ = std::make_unique<QTemporaryDir>();
    fillFolder(programDir());
    fillFolder(backupDir(), {"[Autre]", "Cle=de la copie"});
}

void TestRestoreCandidate::cleanup()
{
    program_.reset();
    backup_.reset();
}

void TestRestoreCandidate::rowsStillInTheLogAreRestored()
{
    // A copy made by hand (a file manager) while a program had the table open: 3 rows in the
    // table file, 7 more committed but still in its log.
    QTemporaryDir live;
    const QString table = live.path() + "/TALO.DB";
    QVERIFY(TableStorage::createFile(table, CareEntryTable::definition()));
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(qPrintable(table), &db), SQLITE_OK);
    sql(db, "PRAGMA journal_mode=WAL");
    addCareRows(db, 3, 1);
    sql(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    sql(db, "PRAGMA wal_autocheckpoint=0");
    addCareRows(db, 7, 10);
    for (const char *name : {"TALO.DB", "TALO.DB-wal"}) {
        QFile::remove(QDir(backupDir()).filePath(name));
        QVERIFY(QFile::copy(QDir(live.path()).filePath(name), QDir(backupDir()).filePath(name)));
    }
    sqlite3_close(db);
    const Files before = FolderSnapshot::of(backupDir());

    const auto candidate = RestoreCandidate::prepare(programDir(), backupDir());
    QCOMPARE(candidate->summary().entries, 10);
    QCOMPARE(candidate->summary().newestEntry, QDate(2024, 5, 16));
    // The staged table holds every row on its own; the backup was only read.
    QCOMPARE(entries(candidate->stagingFolder()).filter("TALO.DB"), QStringList{"TALO.DB"});
    QVERIFY(FolderSnapshot::of(backupDir()) == before);
}

void TestRestoreCandidate::onlyRegularFilesAreTaken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("told");
    QTest::newRow("named pipe as talosoc.inf") << "talosoc.inf"
                                               << "pipe"
                                               << "tube nommé";
    QTest::newRow("link to /dev/zero as LSTBENEF.LST") << "LSTBENEF.LST"
                                                       << "link /dev/zero"
                                                       << "lien symbolique";
    QTest::newRow("link to a file outside the copy") << "mutuelle.inf"
                                                     << "link outside"
                                                     << "lien symbolique";
    QTest::newRow("link as a table") << "MEDECINS.DB"
                                     << "link outside"
                                     << "lien symbolique";
    QTest::newRow("link as a table's log") << "TALO.DB-wal"
                                           << "link outside"
                                           << "lien symbolique";
    QTest::newRow("pipe as a table's journal") << "ASSURE.DB-journal"
                                               << "pipe"
                                               << "tube nommé";
    QTest::newRow("folder as talo.ini") << "talo.ini"
                                        << "folder"
                                        << "dossier";
    QTest::newRow("dangling link") << "talosoc.inf"
                                   << "link /nowhere/at/all"
                                   << "lien symbolique";
}

void TestRestoreCandidate::onlyRegularFilesAreTaken()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, told);
    const QString path = QDir(backupDir()).filePath(name);
    QFile::remove(path);
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.path() + "/secret.txt";
    FileBytes::put(outside, "not part of the copy");
    if (kind == "pipe")
        QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else
        QVERIFY(QFile::link(kind == "link outside" ? outside : kind.section(' ', 1), path));
    const Files before = FolderSnapshot::of(programDir());

    // A pipe must not block: the test would time out.
    const QString message =
        thrownMessage([&] { RestoreCandidate::prepare(programDir(), backupDir()); });
    QVERIFY2(message.contains(name) && message.contains(told), qPrintable(message));
    QVERIFY2(message.contains("n'est pas un fichier ordinaire"), qPrintable(message));
    QVERIFY(FolderSnapshot::of(programDir()) == before);
    QCOMPARE(entries(programDir()).filter(".Restauration"), QStringList());
}

void TestRestoreCandidate::passwordInForceIsKept_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("copy");
    QTest::addColumn<QString>("letIn");
    QTest::addColumn<QString>("refused");
    const QString hashNew = PasswordHash::make("nouveau");
    const QString hashOld = PasswordHash::make("ancien");
    QTest::newRow("changed since the copy")
        << QStringList{"[MotDePasse]", "Empreinte=" + hashNew}
        << QStringList{"[MotDePasse]", "Empreinte=" + hashOld} << "nouveau"
        << "ancien";
    QTest::newRow("copy from an earlier version, in clear")
        << QStringList{"[MotDePasse]", "Empreinte=" + hashNew, "Chaine="}
        << QStringList{"[MotDePasse]", "Chaine=ancien"} << "nouveau"
        << "ancien";
    QTest::newRow("removed since the copy")
        << QStringList{"[MotDePasse]", "Empreinte=", "Chaine="}
        << QStringList{"[MotDePasse]", "Empreinte=" + hashOld} << QString() << QString();
    QTest::newRow("set since the copy")
        << QStringList{"[MotDePasse]", "Empreinte=" + hashNew} << QStringList() << "nouveau"
        << "";
    QTest::newRow("still in clear here")
        << QStringList{"[MotDePasse]", "Chaine=nouveau"}
        << QStringList{"[MotDePasse]", "Empreinte=" + hashOld} << "nouveau"
        << "ancien";
}

void TestRestoreCandidate::passwordInForceIsKept()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, copy);
    QFETCH(QString, letIn);
    QFETCH(QString, refused);
    SideFile::writeLines(programDir() + "talo.ini", listedFiles + current);
    SideFile::writeLines(QDir(backupDir()).filePath("talo.ini"),
                         listedFiles + QStringList{"[Autre]", "Cle=de la copie"} + copy);
    const QByteArray programIni = FileBytes::of(programDir() + "talo.ini");

    const auto candidate = RestoreCandidate::prepare(programDir(), backupDir());
    const QString staging = candidate->stagingFolder() + "/";
    const StoredPassword restored = PasswordStore::read(staging);
    QCOMPARE(restored.isSet(), !letIn.isEmpty());
    if (!letIn.isEmpty())
        QVERIFY(restored.matches(letIn));
    if (!refused.isEmpty())
        QVERIFY(!restored.matches(refused));
    // The rest of talo.ini is the copy's; the program directory's is untouched.
    QCOMPARE(PrivateProfile::readString(staging + "talo.ini", "Autre", "Cle"),
             QString("de la copie"));
    QCOMPARE(FileBytes::of(programDir() + "talo.ini"), programIni);
}

std::vector<ProofLink> TestRestoreCandidate::attachToBackup()
{
    sqlite3 *db = nullptr;
    sqlite3_open(qPrintable(backupDir() + "/TALO.DB"), &db);
    addCareRows(db, 1, 3);
    sqlite3_close(db);
    QTemporaryDir originals;
    ProofStore store(backupDir());
    return store.attach(
        1,
        {ProofSamples::write(originals.path(), "facture.pdf", ProofSamples::pdf("facture")),
         ProofSamples::write(originals.path(), "ordonnance.png", ProofSamples::png("ordonnance"))});
}

void TestRestoreCandidate::proofsAreCheckedAndCounted()
{
    const auto links = attachToBackup();
    const auto candidate = RestoreCandidate::prepare(programDir(), backupDir());
    QCOMPARE(candidate->summary().proofs, 2);
    QVERIFY2(candidate->summaryText().endsWith(" Elle contient 2 pièces jointes."),
             qPrintable(candidate->summaryText()));
    QVERIFY(candidate->fileNames().contains("Pièces"));
    const QString staged = candidate->stagingFolder() + "/Pièces/";
    QCOMPARE(FileBytes::of(staged + links.at(0).storedName), ProofSamples::pdf("facture"));
    QCOMPARE(FileBytes::of(staged + links.at(1).storedName), ProofSamples::png("ordonnance"));
    QCOMPARE(entries(staged).size(), 2);
}

void TestRestoreCandidate::proofNotSoundRefusesTheCopy_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("told");
    QTest::newRow("absent") << "absent"
                            << "« facture.pdf » (fichier %1) est absente";
    QTest::newRow("same size, one byte changed") << "altered"
                                                 << "« facture.pdf » (fichier %1) a été modifiée";
    QTest::newRow("cut short") << "cut"
                               << "« facture.pdf » (fichier %1) a été modifiée";
    QTest::newRow("link to a good copy") << "link"
                                         << "lien symbolique";
    QTest::newRow("stored name leading out") << "name"
                                             << "../../etc/shadow";
}

void TestRestoreCandidate::proofNotSoundRefusesTheCopy()
{
    QFETCH(QString, damage);
    QFETCH(QString, told);
    const ProofLink link = attachToBackup().at(0);
    const QString stored = backupDir() + "/Pièces/" + link.storedName;
    const QByteArray bytes = FileBytes::of(stored);
    QFile::remove(stored);
    if (damage == "altered") {
        QByteArray changed = bytes;
        changed[12] = 'X';
        FileBytes::put(stored, changed);
    } else if (damage == "cut") {
        FileBytes::put(stored, bytes.chopped(7));
    } else if (damage == "link") {
        const QString elsewhere = backupDir() + "/ailleurs.pdf";
        FileBytes::put(elsewhere, bytes);
        QVERIFY(QFile::link(elsewhere, stored));
    } else if (damage == "name") {
        FileBytes::put(stored, bytes);
        sqlite3 *db = nullptr;
        sqlite3_open(qPrintable(backupDir() + "/TALO.DB"), &db);
        sql(db, "UPDATE TALO_PIECES SET Fichier = '../../etc/shadow'");
        sqlite3_close(db);
    }
    const Files before = FolderSnapshot::of(programDir());
    const QString message =
        thrownMessage([&] { RestoreCandidate::prepare(programDir(), backupDir()); });
    QVERIFY2(message.startsWith("Cette copie ne peut pas être restaurée : ses pièces jointes") ||
                 message.contains("Pièces/" + link.storedName),
             qPrintable(message));
    QVERIFY2(message.contains(told.arg(link.storedName)), qPrintable(message));
    QVERIFY(FolderSnapshot::of(programDir()) == before);
}

QTEST_GUILESS_MAIN(TestRestoreCandidate)
#include "test_restore_candidate.moc"
