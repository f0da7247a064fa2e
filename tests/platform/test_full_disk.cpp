#include "platform/PlatformMessages.h"
#include "platform/PrivateProfile.h"
#include "platform/ReportPdfWriter.h"
#include "platform/SideFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/SampleTable.h"
#include "support/SmallFileSystem.h"
#include "support/ThrownMessage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Every file the program writes, on a disk that fills up while the new content is written:
// nothing already there is lost and the user is told. Small contents matter most: they sit in
// a buffer until the very end of the write.
class TestFullDisk : public QObject
{
    Q_OBJECT

private:
    using Site = std::function<void(const QString &path)>;

    static Site siteNamed(const QString &name)
    {
        if (name == "LSTBENEF.LST")
            return [](const QString &path) { SideFile::writeLines(path, {"TOUS", "MARTIN"}); };
        if (name == "talo.ini")
            return [](const QString &path) {
                PrivateProfile::writeString(path, "MotDePasse", "Chaine", "secret");
            };
        return [](const QString &path) {
            ReportPdfWriter::write(path, {}, ReportPageGeometry(), "Liste des soins");
        };
    }

    // The folder's entries, hidden ones included, but not the tmpfs filler.
    static QStringList entriesOf(const QString &folder)
    {
        QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        entries.removeAll(".remplissage");
        return entries;
    }

private Q_SLOTS:
    void oldFileSurvives_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<bool>("tmpfs");
        const QByteArray ini = "[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2=talosoc.inf\r\n"
                               "3=mutuelle.inf\r\n4=talo.ini\r\n";
        for (const bool tmpfs : {false, true}) {
            const char *device = tmpfs ? "small tmpfs" : "write fails past 8 bytes";
            QTest::addRow("LSTBENEF.LST, %s", device)
                << "LSTBENEF.LST" << QByteArray("TOUS\r\nDUPONT\r\n") << tmpfs;
            QTest::addRow("talo.ini, %s", device) << "talo.ini" << ini << tmpfs;
            QTest::addRow("PDF, %s", device) << "soins.pdf" << QByteArray("%PDF-1.4 old") << tmpfs;
        }
    }

    void oldFileSurvives()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(bool, tmpfs);
        QTemporaryDir plain;
        std::unique_ptr<SmallFileSystem> disk;
        if (tmpfs) {
            disk = std::make_unique<SmallFileSystem>(256);
            if (!disk->skipReason().isEmpty())
                QSKIP(qPrintable(disk->skipReason()));
        }
        const QString folder = tmpfs ? disk->path() : plain.path();
        const QString path = folder + "/" + name;
        FileBytes::put(path, old);

        QString message;
        if (tmpfs) {
            disk->fill();
            message = thrownMessage([&] { siteNamed(name)(path); });
            disk->free();
        } else {
            const FileSizeLimit limit(8);
            message = thrownMessage([&] { siteNamed(name)(path); });
        }
        QCOMPARE(message,
                 PlatformMessages::cannotWriteFile(path, PlatformMessages::writeFailed() + " " +
                                                             PlatformMessages::oldFileKept()));
        QCOMPARE(FileBytes::of(path), old);
        QCOMPARE(entriesOf(folder), QStringList{name});

        // Once there is room again the same write goes through.
        siteNamed(name)(path);
        QVERIFY(FileBytes::of(path) != old);
    }

    // A post that finds the disk full: the user is told, the record stays as typed, and the
    // rows already there stay readable.
    void postOnFullDiskKeepsTheRecord()
    {
        SmallFileSystem disk(256);
        if (!disk.skipReason().isEmpty())
            QSKIP(qPrintable(disk.skipReason()));
        SampleTable::createIn(disk.path());
        auto t = SampleTable::openIn(disk.path());
        SampleTable::addRow(*t, "A", QDate(2020, 1, 1), 100);
        disk.fill();
        t->append();
        t->fieldByName("Nom").setAsString("B");
        t->fieldByName("Jour").setAsDate(QDate(2020, 1, 2));
        t->fieldByName("Note").setAsString(QString(20000, QLatin1Char('n')));
        const QString message = thrownMessage([&] { t->post(); });
        QVERIFY2(message.startsWith(
                     PlatformMessages::diskWriteFailed(disk.filePath("SAMPLE.DB"), QString())),
                 qPrintable(message));
        QCOMPARE(t->state(), Table::State::Insert);
        QCOMPARE(SampleTable::openIn(disk.path())->recordCount(), 1);
        disk.free();
        t->post();
        QCOMPARE(SampleTable::openIn(disk.path())->recordCount(), 2);
    }
};

QTEST_MAIN(TestFullDisk)
#include "test_full_disk.moc"
