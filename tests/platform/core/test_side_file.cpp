#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/SideFile.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/PermissionsEnforced.h"
#include "support/ThrownMessage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{

mode_t modeOf(const QString &path)
{
    struct stat info {
    };
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

} // namespace

class TestSideFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *dir_ = nullptr;
    QString path(const QString &name) const { return dir_->filePath(name); }

private Q_SLOTS:
    void init()
    {
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
    }

    void cleanup()
    {
        // Undo any read-only folder so that the temporary folder can go.
        QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
        delete dir_;
        dir_ = nullptr;
    }

    void readLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("CR LF") << QByteArray("TOUS\r\nDUPONT\r\n") << QStringList{"TOUS", "DUPONT"};
        QTest::newRow("LF") << QByteArray("TOUS\nDUPONT\n") << QStringList{"TOUS", "DUPONT"};
        QTest::newRow("CR") << QByteArray("TOUS\rDUPONT\r") << QStringList{"TOUS", "DUPONT"};
        QTest::newRow("mixed ends")
            << QByteArray("a\r\nb\nc\rd\r\n") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("single line without end") << QByteArray("TOUS") << QStringList{"TOUS"};
        QTest::newRow("empty lines kept")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << QStringList{"a", "", "", "b"};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("LF then CR is two ends") << QByteArray("\n\r") << QStringList{"", ""};
        QTest::newRow("CR then CR LF is two ends") << QByteArray("\r\r\n") << QStringList{"", ""};
        QTest::newRow("blanks and tabs kept")
            << QByteArray("  a b  \r\n\tc\t\r\n") << QStringList{"  a b  ", "\tc\t"};
        QTest::newRow("1252 accents")
            << QByteArray("\xE9t\xE9 \xE0 S\xE8te\r\n") << QStringList{"été à Sète"};
        QTest::newRow("UTF-8 accents") << QByteArray("\xC3\xA9t\xC3\xA9 \xC3\xA0 S\xC3\xA8te\r\n")
                                       << QStringList{"été à Sète"};
        QTest::newRow("UTF-8 byte-order mark dropped")
            << QByteArray("\xEF\xBB\xBFTOUS\r\nL\xC3\xA9on\r\n") << QStringList{"TOUS", "Léon"};
        QTest::newRow("UTF-8 beyond 1252")
            << QByteArray("\xC5\x81\xC3\xB3\x64\xC5\xBA\r\n") << QStringList{"Łódź"};
        QTest::newRow("1252 euro, OE ligatures, quotes")
            << QByteArray("\x80 \x8C\x9C \x93x\x94\r\n") << QStringList{"€ Œœ “x”"};
        QTest::newRow("1252 undefined byte kept as its control")
            << QByteArray("a\x81z") << QStringList{QStringLiteral("a\u0081z")};
        QTest::newRow("truncated UTF-8 sequence means 1252")
            << QByteArray("abc\xC3") << QStringList{"abcÃ"};
        QTest::newRow("one stray 1252 byte makes the whole file 1252")
            << QByteArray("\xC3\xA9\r\n\xE9\r\n") << QStringList{"Ã©", "é"};
        QTest::newRow("overlong UTF-8 means 1252") << QByteArray("\xC0\xAF") << QStringList{"À¯"};
    }

    void readLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        FileBytes::put(path("LSTBENEF.LST"), bytes);
        QCOMPARE(SideFile::readLines(path("LSTBENEF.LST")), expected);
    }

    void writeLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("names") << QStringList{"TOUS", "DUPONT"} << QByteArray("TOUS\r\nDUPONT\r\n");
        QTest::newRow("no line") << QStringList() << QByteArray();
        QTest::newRow("one empty line") << QStringList{""} << QByteArray("\r\n");
        QTest::newRow("empty lines around")
            << QStringList{"", "a", ""} << QByteArray("\r\na\r\n\r\n");
        QTest::newRow("blanks kept") << QStringList{"  a  ", "\t"} << QByteArray("  a  \r\n\t\r\n");
        QTest::newRow("e acute is one byte") << QStringList{"é"} << QByteArray("\xE9\r\n");
        QTest::newRow("OE and euro fit in 1252")
            << QStringList{"Œuvre 10 €"} << QByteArray("\x8Cuvre 10 \x80\r\n");
        QTest::newRow("curly quotes fit in 1252")
            << QStringList{"“x” ‘y’"} << QByteArray("\x93x\x94 \x91y\x92\r\n");
        QTest::newRow("undefined 1252 byte round trips")
            << QStringList{QStringLiteral("a\u0081z")} << QByteArray("a\x81z\r\n");
        QTest::newRow("l with stroke makes the file UTF-8")
            << QStringList{"Łódź"} << QByteArray("\xC5\x81\xC3\xB3\x64\xC5\xBA\r\n");
        QTest::newRow("one line beyond 1252 makes every line UTF-8")
            << QStringList{"été", "ł"} << QByteArray("\xC3\xA9t\xC3\xA9\r\n\xC5\x82\r\n");
        QTest::newRow("1252 bytes that would read as other UTF-8 text")
            << QStringList{"Ã©"} << QByteArray("\xC3\x83\xC2\xA9\r\n");
        QTest::newRow("character outside the basic plane")
            << QStringList{QStringLiteral("a\U0001F600")} << QByteArray("a\xF0\x9F\x98\x80\r\n");
    }

    // Bytes on disk are fixed by the format; reading them back gives the lines again.
    void writeLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, expected);
        const QString file = path("talosoc.inf");
        SideFile::writeLines(file, lines);
        QCOMPARE(FileBytes::of(file), expected);
        QCOMPARE(SideFile::readLines(file), lines);
    }

    // Every byte a 1252 file may hold outside line ends comes back unchanged.
    void every1252ByteRoundTrips()
    {
        QByteArray bytes;
        for (int b = 0x01; b <= 0xFF; ++b) {
            if (b != '\r' && b != '\n')
                bytes.append(char(b));
        }
        const QString file = path("mutuelle.inf");
        FileBytes::put(file, bytes + "\r\n");
        const QStringList lines = SideFile::readLines(file);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().size(), bytes.size());
        SideFile::writeLines(file, lines);
        QCOMPARE(FileBytes::of(file), bytes + "\r\n");
    }

    void rewriteReplacesWholeFile()
    {
        const QString file = path("talosoc.inf");
        SideFile::writeLines(file, {"a", "b", "c", "d", "e", "f"});
        SideFile::writeLines(file, {"x"});
        QCOMPARE(FileBytes::of(file), QByteArray("x\r\n"));
    }

    void newFileIsOwnerOnly()
    {
        const mode_t oldMask = umask(022);
        SideFile::writeLines(path("LSTBENEF.LST"), {"TOUS"});
        umask(oldMask);
        QCOMPARE(modeOf(path("LSTBENEF.LST")), mode_t(0600));
    }

    void existingFileKeepsPermissions()
    {
        const QString file = path("talo.ini");
        FileBytes::put(file, "old\r\n");
        QVERIFY(chmod(QFile::encodeName(file).constData(), 0640) == 0);
        SideFile::writeLines(file, {"new"});
        QCOMPARE(modeOf(file), mode_t(0640));
        QCOMPARE(FileBytes::of(file), QByteArray("new\r\n"));
    }

    // Names resolved without regard to case rewrite the file that is there, never a twin.
    void resolvedNameRewritesExistingFile()
    {
        FileBytes::put(path("lstbenef.lst"), "TOUS\r\nANCIEN\r\n");
        const QString resolved = FileNames::resolve(dir_->path(), "LSTBENEF.LST");
        QCOMPARE(SideFile::readLines(resolved), (QStringList{"TOUS", "ANCIEN"}));
        SideFile::writeLines(resolved, {"TOUS", "NOUVEAU"});
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"lstbenef.lst"});
        QCOMPARE(FileBytes::of(path("lstbenef.lst")), QByteArray("TOUS\r\nNOUVEAU\r\n"));
    }

    void readMissingFile()
    {
        const QString file = path("LSTBENEF.LST");
        QCOMPARE(thrownMessage([&] { SideFile::readLines(file); }),
                 "Impossible de lire le fichier " + file + ".\nLe fichier n'existe pas.");
    }

    void readFolder()
    {
        QVERIFY(QDir(dir_->path()).mkdir("talo.ini"));
        const QString message = thrownMessage([&] { SideFile::readLines(path("talo.ini")); });
        QVERIFY2(message.startsWith("Impossible de lire le fichier " + path("talo.ini")),
                 qPrintable(message));
        QVERIFY2(message.contains("dossier"), qPrintable(message));
    }

    void readUnreadableFile()
    {
        const QString file = path("talosoc.inf");
        FileBytes::put(file, "secret\r\n");
        QVERIFY(chmod(QFile::encodeName(file).constData(), 0) == 0);
        PermissionsEnforced enforced;
        QCOMPARE(thrownMessage([&] { SideFile::readLines(file); }),
                 "Impossible de lire le fichier " + file +
                     ".\nAccès refusé : le fichier ne peut pas être lu.");
    }

    void writeIntoReadOnlyFolderKeepsOldFile()
    {
        const QString file = path("LSTBENEF.LST");
        FileBytes::put(file, "TOUS\r\nDUPONT\r\n");
        QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0555) == 0);
        QString message;
        {
            PermissionsEnforced enforced;
            message = thrownMessage([&] { SideFile::writeLines(file, {"TOUS"}); });
        }
        QCOMPARE(message, "Impossible d'écrire le fichier " + file + ".\nLe dossier " +
                              dir_->path() +
                              " est protégé en écriture : aucun fichier ne peut y être créé ni "
                              "remplacé. L'ancien fichier est conservé tel quel.");
        QCOMPARE(FileBytes::of(file), QByteArray("TOUS\r\nDUPONT\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"LSTBENEF.LST"});
    }

    void newFileInReadOnlyFolderIsNotCreated()
    {
        QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0555) == 0);
        QString message;
        {
            PermissionsEnforced enforced;
            message = thrownMessage([&] { SideFile::writeLines(path("mutuelle.inf"), {"x"}); });
        }
        QVERIFY2(message.contains("est protégé en écriture"), qPrintable(message));
        QVERIFY2(!message.contains("ancien fichier"), qPrintable(message));
        QVERIFY(QDir(dir_->path()).entryList(QDir::Files).isEmpty());
    }

    void writeIntoMissingFolder()
    {
        const QString folder = path("absent");
        const QString message =
            thrownMessage([&] { SideFile::writeLines(folder + "/talosoc.inf", {"x"}); });
        QCOMPARE(message, "Impossible d'écrire le fichier " + folder +
                              "/talosoc.inf.\nLe dossier " + folder + " n'existe pas.");
    }

    void writeOverFolder()
    {
        QVERIFY(QDir(dir_->path()).mkdir("talosoc.inf"));
        const QString message =
            thrownMessage([&] { SideFile::writeLines(path("talosoc.inf"), {"x"}); });
        QVERIFY2(message.startsWith("Impossible d'écrire le fichier"), qPrintable(message));
        QVERIFY(QFileInfo(path("talosoc.inf")).isDir());
    }

    // A line break inside a line would shift every following line of the file.
    void lineBreakInsideLineIsRefused_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("LF") << "a\nb";
        QTest::newRow("CR") << "a\rb";
        QTest::newRow("CR LF at end") << "ab\r\n";
    }

    void lineBreakInsideLineIsRefused()
    {
        QFETCH(QString, line);
        const QString file = path("talosoc.inf");
        FileBytes::put(file, "old\r\n");
        const QString message = thrownMessage([&] { SideFile::writeLines(file, {"first", line}); });
        QVERIFY2(message.contains("saut de ligne"), qPrintable(message));
        QCOMPARE(FileBytes::of(file), QByteArray("old\r\n"));
    }

    // The disk fills up in the middle of the new content.
    void failingWriteKeepsOldFile()
    {
        const QString file = path("LSTBENEF.LST");
        FileBytes::put(file, "TOUS\r\nDUPONT\r\n");
        const QStringList many(5000, QStringLiteral("BENEFICIAIRE"));
        QString message;
        {
            FileSizeLimit limit(4096);
            message = thrownMessage([&] { SideFile::writeLines(file, many); });
        }
        QCOMPARE(message, "Impossible d'écrire le fichier " + file +
                              ".\nErreur d'écriture : le disque est peut-être plein ou protégé "
                              "en écriture. L'ancien fichier est conservé tel quel.");
        QCOMPARE(FileBytes::of(file), QByteArray("TOUS\r\nDUPONT\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"LSTBENEF.LST"});
    }
};

QTEST_GUILESS_MAIN(TestSideFile)
#include "test_side_file.moc"
