#include "platform/core/PlatformMessages.h"
#include "platform/core/PrivateProfile.h"
#include "platform/core/SideFile.h"
#include "platform/report/ReportPdfWriter.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/SmallFileSystem.h"
#include "support/ThrownMessage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Every small file the program rewrites, on a disk that fills up while the new content is
// written: the old file stays whole and the user is told. Small contents matter most: they sit in
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
};

QTEST_MAIN(TestFullDisk)
#include "test_full_disk.moc"
