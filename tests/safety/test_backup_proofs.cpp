#include "FakeBackupSources.h"

#include "support/ProofSamples.h"
#include "support/ThrownMessage.h"

#include "proofs/ProofStore.h"
#include "recovery/AutomaticBackup.h"
#include "recovery/BackupCopy.h"
#include "recovery/RestoreCandidate.h"

#include <QTest>

#include <sys/stat.h>

namespace
{

ino_t inodeOf(const QString &path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

} // namespace

// The proofs travel with the tables: every backup holds each linked proof whole, or is not
// called good; an automatic copy shares what an earlier one holds; the restore finds them.
class TestBackupProofs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void backupHoldsEveryProofChecked();
    void damagedProofFailsTheBackup();
    void automaticCopiesShareAndThenCollect();

private:
    std::vector<ProofLink> attach(FakeBackupSources &src, qint64 entry, const QString &name,
                                  const QByteArray &bytes)
    {
        return ProofStore(src.programDir)
            .attach(entry, {ProofSamples::write(originals_.path(), name, bytes)});
    }
    QTemporaryDir originals_;
};

void TestBackupProofs::backupHoldsEveryProofChecked()
{
    FakeBackupSources src;
    const ProofLink bill = attach(src, 1, "facture.pdf", ProofSamples::pdf("facture")).at(0);
    const ProofLink scan = attach(src, 3, "scan.jpg", ProofSamples::jpeg("scan")).at(0);
    QTemporaryDir target;
    QCOMPARE(BackupCopy::run(src.programDir, target.path(), src), BackupCopy::Outcome::Copied);
    QCOMPARE(FileBytes::of(target.path() + "/Pièces/" + bill.storedName),
             ProofSamples::pdf("facture"));
    QCOMPARE(FileBytes::of(target.path() + "/Pièces/" + scan.storedName),
             ProofSamples::jpeg("scan"));

    // Restored into a fresh program directory, the proofs are found and counted.
    QTemporaryDir fresh;
    ProofSamples::makeRegister(fresh.path(), 0);
    QFile::copy(src.programDir + "talo.ini", fresh.path() + "/talo.ini");
    const auto candidate = RestoreCandidate::prepare(fresh.path() + "/", target.path());
    QVERIFY2(candidate->summaryText().contains("2 pièces jointes"),
             qPrintable(candidate->summaryText()));
}

void TestBackupProofs::damagedProofFailsTheBackup()
{
    FakeBackupSources src;
    const ProofLink bill = attach(src, 1, "facture.pdf", ProofSamples::pdf("facture")).at(0);
    const QString stored = src.programDir + "Pièces/" + bill.storedName;
    QByteArray bytes = FileBytes::of(stored);
    bytes[10] = '#';
    QFile::setPermissions(stored, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    FileBytes::put(stored, bytes);
    QTemporaryDir target;
    const QString message =
        thrownMessage([&] { BackupCopy::run(src.programDir, target.path(), src); });
    QVERIFY2(message.contains("« facture.pdf »") && message.contains("a été modifiée") &&
                 message.contains("n'est pas complète"),
             qPrintable(message));
}

void TestBackupProofs::automaticCopiesShareAndThenCollect()
{
    FakeBackupSources src;
    const QDate day(2025, 3, 1);
    const ProofLink kept = attach(src, 1, "facture.pdf", ProofSamples::pdf("facture")).at(0);
    const ProofLink dropped = attach(src, 2, "devis.png", ProofSamples::png("devis")).at(0);
    AutomaticBackup::run(src.programDir, day, src);
    const QString first = AutomaticBackup::dayFolder(src.programDir, day) + "/Pièces/";
    QVERIFY(QFileInfo::exists(first + dropped.storedName));

    ProofStore store(src.programDir);
    store.remove(dropped.id);
    // Not linked any more, but held by no copy made since: it stays until the next copy.
    QVERIFY(QFileInfo::exists(store.pathOf(dropped)));
    AutomaticBackup::run(src.programDir, day.addDays(1), src);
    const QString second = AutomaticBackup::dayFolder(src.programDir, day.addDays(1)) + "/Pièces/";
    QVERIFY(QFileInfo::exists(second + dropped.storedName));
    QVERIFY(!QFileInfo::exists(store.pathOf(dropped)));
    QVERIFY(QFileInfo::exists(store.pathOf(kept)));
    // The same bytes on disk as the earlier copy's: never copied twice.
    QCOMPARE(inodeOf(second + kept.storedName), inodeOf(first + kept.storedName));
    QVERIFY(inodeOf(second + kept.storedName) != inodeOf(store.pathOf(kept)));

    AutomaticBackup::run(src.programDir, day.addDays(2), src);
    const QString third = AutomaticBackup::dayFolder(src.programDir, day.addDays(2)) + "/Pièces/";
    QCOMPARE(QDir(third).entryList(QDir::Files), QStringList{kept.storedName});
}

QTEST_MAIN(TestBackupProofs)
#include "test_backup_proofs.moc"
