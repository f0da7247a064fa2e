#include "support/FileBytes.h"
#include "support/ProofSamples.h"
#include "support/SmallFileSystem.h"
#include "support/ThrownMessage.h"

#include "platform/store/ForeignObjects.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/Table.h"
#include "proofs/ProofError.h"
#include "proofs/ProofStore.h"
#include "tables/CareEntryTable.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{

QStringList storedFiles(const QString &programDir)
{
    return QDir(QDir(programDir).filePath(ProofStore::folderName()))
        .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

int modeOf(const QString &path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return int(st.st_mode & 0777);
}

} // namespace

class TestProofStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void oneBadFileKeepsNothing_data();
    void oneBadFileKeepsNothing();
    void sameContentIsStoredOnce();
    void fullDiskLeavesNothingHalfCopied();
    void stopBeforeTheLinksLeavesNoLink();
    void renameAndRemove_data();
    void renameAndRemove();
    void deletedEntryTakesItsLinks();

private:
    std::unique_ptr<QTemporaryDir> program_;
    std::unique_ptr<QTemporaryDir> sources_;
};

void TestProofStore::init()
{
    program_ = std::make_unique<QTemporaryDir>();
    sources_ = std::make_unique<QTemporaryDir>();
    ProofSamples::makeRegister(program_->path(), 2);
}

void TestProofStore::oneBadFileKeepsNothing_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    const QList<std::pair<QString, QString>> kinds{
        {"lien", "lien symbolique"},
        {"texte", "ni un document PDF"},
        {"pdf tronqué", "document PDF est incomplet"},
        {"jpeg tronqué", "image JPEG est incomplète"},
        {"vide", "il est vide"},
        {"trop grand", "50 Mo"},
        {"dossier", "c'est un dossier"},
        {"absent", "n'existe pas"},
    };
    for (int position : {0, 1, 2}) {
        for (const auto &[kind, reason] : kinds)
            QTest::addRow("%s en %d", qPrintable(kind), position) << position << kind << reason;
    }
}

void TestProofStore::oneBadFileKeepsNothing()
{
    QFETCH(int, position);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString folder = sources_->path();
    const QString good = ProofSamples::write(folder, "bon.pdf", ProofSamples::pdf());
    QString bad = QDir(folder).filePath("mauvais.pdf");
    if (kind == "lien") {
        QVERIFY(QFile::link(good, bad));
    } else if (kind == "texte") {
        FileBytes::put(bad, "Facture du docteur");
    } else if (kind == "pdf tronqué") {
        FileBytes::put(bad, ProofSamples::pdf().left(20));
    } else if (kind == "jpeg tronqué") {
        FileBytes::put(bad, ProofSamples::jpeg().chopped(2));
    } else if (kind == "vide") {
        FileBytes::put(bad, QByteArray());
    } else if (kind == "trop grand") {
        FileBytes::put(bad, ProofSamples::pdf());
        QFile big(bad);
        QVERIFY(big.resize(ProofStore::maxSize + 1)); // sparse: nothing is written
    } else if (kind == "dossier") {
        QVERIFY(QDir(folder).mkdir("mauvais.pdf"));
    }
    QStringList files{ProofSamples::write(folder, "a.png", ProofSamples::png()),
                      ProofSamples::write(folder, "b.jpg", ProofSamples::jpeg())};
    files.insert(position, bad);

    ProofStore store(program_->path());
    const QString message = thrownMessage([&] { store.attach(1, files); });
    QVERIFY2(message.contains("mauvais.pdf"), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY(store.proofsOf(1).empty());
    QVERIFY(store.countsByEntry().isEmpty());
    // What was stored before the refusal has no link, and nothing half-written is left.
    for (const QString &name : storedFiles(program_->path()))
        QVERIFY2(!name.startsWith('.'), qPrintable(name));
}

void TestProofStore::sameContentIsStoredOnce()
{
    const QString folder = sources_->path();
    const QByteArray bytes = ProofSamples::pdf("facture");
    const QString a = ProofSamples::write(folder, "facture.pdf", bytes);
    const QString b = ProofSamples::write(folder, "copie.PDF", bytes);
    ProofStore store(program_->path());
    const auto first = store.attach(1, {a});
    const auto second = store.attach(2, {b, a});
    QCOMPARE(second.size(), size_t(2));

    const QString hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    QCOMPARE(storedFiles(program_->path()), QStringList{hash + ".pdf"});
    QCOMPARE(store.proofsOf(2).at(0).shownName, QString("copie.PDF"));
    QCOMPARE(store.proofsOf(2).at(1).shownName, QString("facture.pdf"));
    QCOMPARE(store.proofsOf(1).at(0).size, qint64(bytes.size()));
    QCOMPARE(FileBytes::of(store.pathOf(first.at(0))), bytes);
    QCOMPARE(store.countsByEntry(), (QHash<qint64, int>{{1, 1}, {2, 2}}));
    QCOMPARE(modeOf(store.folder()), 0700);
    QCOMPARE(modeOf(store.pathOf(first.at(0))), 0600);
    // The original may go: the register keeps its own copy.
    QVERIFY(QFile::remove(a));
    QCOMPARE(FileBytes::of(store.pathOf(second.at(1))), bytes);
}

void TestProofStore::fullDiskLeavesNothingHalfCopied()
{
    SmallFileSystem disk(512);
    if (!disk.skipReason().isEmpty())
        QSKIP(qPrintable(disk.skipReason()));
    ProofSamples::makeRegister(disk.path(), 1);
    const QString small = ProofSamples::write(sources_->path(), "petit.png", ProofSamples::png());
    const QString large = ProofSamples::write(sources_->path(), "grand.pdf",
                                              ProofSamples::pdf(QByteArray(700 * 1024, 'x')));
    ProofStore store(disk.path());
    const QString message = thrownMessage([&] { store.attach(1, {small, large}); });
    QVERIFY2(message.contains("grand.pdf") && message.contains("disque est plein"),
             qPrintable(message));
    QVERIFY(store.proofsOf(1).empty());
    const QStringList left = storedFiles(disk.path());
    QCOMPARE(left.size(), 1); // the small file, whole, without a link
    QVERIFY(!left.at(0).startsWith('.'));
    QCOMPARE(store.collectUnlinked([](const QString &) { return true; }), 1);
    QVERIFY(storedFiles(disk.path()).isEmpty());
}

void TestProofStore::stopBeforeTheLinksLeavesNoLink()
{
    const QString a = ProofSamples::write(sources_->path(), "a.png", ProofSamples::png());
    const QString b = ProofSamples::write(sources_->path(), "b.pdf", ProofSamples::pdf());
    for (int stop : {0, 1}) {
        ProofStore store(program_->path());
        store.setAfterFileStoredForTesting([stop](int index) {
            if (index == stop)
                throw ProofError("coupure");
        });
        QCOMPARE(thrownMessage([&] { store.attach(1, {a, b}); }), QString("coupure"));
        QVERIFY(store.proofsOf(1).empty());
    }
    // Started again, the attachment goes through and reuses the files already there.
    ProofStore store(program_->path());
    QCOMPARE(store.attach(1, {a, b}).size(), size_t(2));
    QCOMPARE(storedFiles(program_->path()).size(), 2);
    for (const ProofLink &link : store.proofsOf(1))
        QVERIFY(QFileInfo::exists(store.pathOf(link)));
}

void TestProofStore::renameAndRemove_data()
{
    QTest::addColumn<bool>("throughRegister");
    QTest::newRow("a connection of its own") << false;
    QTest::newRow("the register's connection") << true;
}

void TestProofStore::renameAndRemove()
{
    QFETCH(bool, throughRegister);
    const QString a = ProofSamples::write(sources_->path(), "a.png", ProofSamples::png());
    ProofStore store(program_->path());
    Table care(CareEntryTable::definition());
    care.setDatabaseName(program_->path());
    care.open();
    int written = 0;
    if (throughRegister) {
        store.setWriter([&](const ProofStore::Work &work) {
            ++written;
            care.writeCompanions(work);
            return true;
        });
    }
    const auto reads = care.loadCount();
    const ProofLink link = store.attach(1, {a}).at(0);
    store.attach(2, {a});

    QVERIFY(thrownMessage([&] { store.rename(link.id, "   "); }).contains("vide"));
    store.rename(link.id, "  Ordonnance mars.png ");
    QCOMPARE(store.proofsOf(1).at(0).shownName, QString("Ordonnance mars.png"));

    store.remove(link.id);
    QVERIFY(store.proofsOf(1).empty());
    QVERIFY(thrownMessage([&] { store.remove(link.id); }).contains("n'existe plus"));
    // Still linked to entry 2: kept whatever the copies hold.
    QCOMPARE(store.collectUnlinked([](const QString &) { return true; }), 0);
    store.remove(store.proofsOf(2).at(0).id);
    // Unlinked, but no copy holds it yet.
    QCOMPARE(store.collectUnlinked([](const QString &) { return false; }), 0);
    QCOMPARE(storedFiles(program_->path()).size(), 1);
    QCOMPARE(store.collectUnlinked([](const QString &) { return true; }), 1);
    // The register reads its rows again only for writes it did not make itself.
    care.first();
    QCOMPARE(care.loadCount() == reads, throughRegister);
    QCOMPARE(written, throughRegister ? 6 : 0);
}

void TestProofStore::deletedEntryTakesItsLinks()
{
    const QString a = ProofSamples::write(sources_->path(), "a.png", ProofSamples::png());
    ProofStore store(program_->path());
    store.attach(1, {a});
    store.attach(2, {a});
    QVERIFY(thrownMessage([&] { store.attach(7, {a}); }).contains("n° 7 n'existe plus"));
    {
        SqliteDatabase db(QDir(program_->path()).filePath("TALO.DB"),
                          SqliteDatabase::Mode::OpenExisting);
        // The program's own objects only: every opener accepts the file.
        QVERIFY(ForeignObjects::in(db, CareEntryTable::definition()).empty());
        db.exec("DELETE FROM \"TALO\" WHERE \"Numero\" = 1");
    }
    QCOMPARE(store.countsByEntry(), (QHash<qint64, int>{{2, 1}}));
}

QTEST_GUILESS_MAIN(TestProofStore)
#include "test_proof_store.moc"
