#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/core/PrivateProfile.h"
#include "support/FileBytes.h"
#include "support/PermissionsEnforced.h"
#include "support/ThrownMessage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{

const QString section = QStringLiteral("MotDePasse");
const QString key = QStringLiteral("Chaine");

} // namespace

class TestPrivateProfile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *dir_ = nullptr;
    QString ini() const { return dir_->filePath("talo.ini"); }

private Q_SLOTS:
    void init()
    {
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
    }

    void cleanup()
    {
        QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
        delete dir_;
        dir_ = nullptr;
    }

    // Reading MotDePasse/Chaine, default "DEF", from files as a user or the installer left them.
    void readString_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << QByteArray("[MotDePasse]\r\nChaine=secret\r\n") << "secret";
        QTest::newRow("section in other case")
            << QByteArray("[MOTDEPASSE]\r\nChaine=secret\r\n") << "secret";
        QTest::newRow("key in other case")
            << QByteArray("[MotDePasse]\r\nchaine=secret\r\n") << "secret";
        QTest::newRow("blanks around key and value")
            << QByteArray("[MotDePasse]\r\n  Chaine \t=  secret \t\r\n") << "secret";
        QTest::newRow("blanks inside value kept")
            << QByteArray("[MotDePasse]\r\nChaine=a b  c\r\n") << "a b  c";
        QTest::newRow("blanks inside header")
            << QByteArray("[ MotDePasse ]\r\nChaine=secret\r\n") << "secret";
        QTest::newRow("text after header")
            << QByteArray("[MotDePasse] ; mot de passe\r\nChaine=secret\r\n") << "secret";
        QTest::newRow("commas kept") << QByteArray("[MotDePasse]\r\nChaine=a,b,,c\r\n") << "a,b,,c";
        QTest::newRow("semicolons kept")
            << QByteArray("[MotDePasse]\r\nChaine=a;b ; c\r\n") << "a;b ; c";
        QTest::newRow("equals signs kept")
            << QByteArray("[MotDePasse]\r\nChaine==a=b=\r\n") << "=a=b=";
        QTest::newRow("double quotes dropped")
            << QByteArray("[MotDePasse]\r\nChaine=\"  x  \"\r\n") << "  x  ";
        QTest::newRow("single quotes dropped")
            << QByteArray("[MotDePasse]\r\nChaine='x'\r\n") << "x";
        QTest::newRow("quotes after blanks dropped")
            << QByteArray("[MotDePasse]\r\nChaine=  \"x\"  \r\n") << "x";
        QTest::newRow("one pair of quotes only")
            << QByteArray("[MotDePasse]\r\nChaine=\"\"x\"\"\r\n") << "\"x\"";
        QTest::newRow("unmatched quotes kept")
            << QByteArray("[MotDePasse]\r\nChaine=\"x'\r\n") << "\"x'";
        QTest::newRow("lone quote kept") << QByteArray("[MotDePasse]\r\nChaine=\"\r\n") << "\"";
        QTest::newRow("inner quotes kept")
            << QByteArray("[MotDePasse]\r\nChaine=a\"b\"c\r\n") << "a\"b\"c";
        QTest::newRow("empty value is not the default")
            << QByteArray("[MotDePasse]\r\nChaine=\r\n") << "";
        QTest::newRow("empty quoted value") << QByteArray("[MotDePasse]\r\nChaine=\"\"\r\n") << "";
        QTest::newRow("no such key") << QByteArray("[MotDePasse]\r\nAutre=x\r\n") << "DEF";
        QTest::newRow("no such section") << QByteArray("[ListeFichiers]\r\n1=a\r\n") << "DEF";
        QTest::newRow("key of another section")
            << QByteArray("[Autre]\r\nChaine=x\r\n[MotDePasse]\r\nX=1\r\n") << "DEF";
        QTest::newRow("key before any section")
            << QByteArray("Chaine=x\r\n[MotDePasse]\r\n") << "DEF";
        QTest::newRow("commented key") << QByteArray("[MotDePasse]\r\n;Chaine=x\r\n") << "DEF";
        QTest::newRow("commented key after blanks")
            << QByteArray("[MotDePasse]\r\n  ; Chaine=x\r\n") << "DEF";
        QTest::newRow("line without equals sign is no key")
            << QByteArray("[MotDePasse]\r\nChaine\r\nChaine=x\r\n") << "x";
        QTest::newRow("first of two keys")
            << QByteArray("[MotDePasse]\r\nChaine=a\r\nChaine=b\r\n") << "a";
        QTest::newRow("first of two sections")
            << QByteArray("[MotDePasse]\r\nChaine=a\r\n[MotDePasse]\r\nChaine=b\r\n") << "a";
        QTest::newRow("LF line ends")
            << QByteArray("[X]\nChaine=x\n[MotDePasse]\nChaine=y\n") << "y";
        QTest::newRow("CR line ends") << QByteArray("[MotDePasse]\rChaine=y\r") << "y";
        QTest::newRow("no final line end") << QByteArray("[MotDePasse]\r\nChaine=y") << "y";
        QTest::newRow("1252 value")
            << QByteArray("[MotDePasse]\r\nChaine=m\xE9l\x80\r\n") << "mél€";
        QTest::newRow("UTF-8 value")
            << QByteArray("[MotDePasse]\r\nChaine=m\xC3\xA9l\xC5\x82\r\n") << "mélł";
        QTest::newRow("empty file") << QByteArray() << "DEF";
    }

    void readString()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        FileBytes::put(ini(), content);
        QCOMPARE(PrivateProfile::readString(ini(), section, key, "DEF"), expected);
    }

    void readStringStopsAt1023Characters_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("1023 whole") << 1023 << 1023;
        QTest::newRow("1024 cut") << 1024 << 1023;
        QTest::newRow("1500 cut") << 1500 << 1023;
    }

    void readStringStopsAt1023Characters()
    {
        QFETCH(int, stored);
        QFETCH(int, expected);
        QByteArray value;
        for (int i = 0; i < stored; ++i)
            value.append(char('a' + i % 26));
        FileBytes::put(ini(), "[MotDePasse]\r\nChaine=" + value + "\r\n");
        QCOMPARE(PrivateProfile::readString(ini(), section, key),
                 QString::fromLatin1(value.left(expected)));
    }

    void missingFileGivesDefault()
    {
        QCOMPARE(PrivateProfile::readString(ini(), section, key, "DEF"), QString("DEF"));
        QCOMPARE(PrivateProfile::readString(ini(), section, key), QString());
        QVERIFY(!QFile::exists(ini()));
    }

    // An unreadable password file must not pass for "no password".
    void unreadableFileIsAnError()
    {
        FileBytes::put(ini(), "[MotDePasse]\r\nChaine=secret\r\n");
        QVERIFY(chmod(QFile::encodeName(ini()).constData(), 0200) == 0);
        PermissionsEnforced enforced;
        QCOMPARE(thrownMessage([&] { PrivateProfile::readString(ini(), section, key); }),
                 "Impossible de lire le fichier " + ini() +
                     ".\nAccès refusé : le fichier ne peut pas être lu.");
    }

    void writeCreatesOwnerOnlyFile()
    {
        const mode_t oldMask = umask(022);
        PrivateProfile::writeString(ini(), section, key, "abc");
        umask(oldMask);
        QCOMPARE(FileBytes::of(ini()), QByteArray("[MotDePasse]\r\nChaine=abc\r\n"));
        struct stat info {
        };
        QCOMPARE(stat(QFile::encodeName(ini()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
    }

    // Writing MotDePasse/Chaine = "new" into an existing file changes only what it must.
    void writeKeepsEverythingElse_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("key rewritten, the rest kept")
            << QByteArray("; Talo 3.0\r\n[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2 = talosoc.inf\r\n"
                          "\r\n[MotDePasse]\r\nChaine=old\r\n\r\n[Autre]\r\nx = 1 ; note\r\n")
            << QByteArray("; Talo 3.0\r\n[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2 = talosoc.inf\r\n"
                          "\r\n[MotDePasse]\r\nChaine=new\r\n\r\n[Autre]\r\nx = 1 ; note\r\n");
        QTest::newRow("names in other case kept, no twin")
            << QByteArray("[motdepasse]\r\n  CHAINE = old\r\n")
            << QByteArray("[motdepasse]\r\nCHAINE=new\r\n");
        QTest::newRow("commented key left alone")
            << QByteArray("[MotDePasse]\r\n;Chaine=old\r\nChaine=old\r\n")
            << QByteArray("[MotDePasse]\r\n;Chaine=old\r\nChaine=new\r\n");
        QTest::newRow("key added after the section's last line")
            << QByteArray("[MotDePasse]\r\nAutre=1\r\n\r\n[X]\r\ny=2\r\n")
            << QByteArray("[MotDePasse]\r\nAutre=1\r\nChaine=new\r\n\r\n[X]\r\ny=2\r\n");
        QTest::newRow("key added to an empty last section")
            << QByteArray("[ListeFichiers]\r\n1=a\r\n[MotDePasse]\r\n")
            << QByteArray("[ListeFichiers]\r\n1=a\r\n[MotDePasse]\r\nChaine=new\r\n");
        QTest::newRow("section added at the end")
            << QByteArray("[ListeFichiers]\r\n1=a\r\n\r\n")
            << QByteArray("[ListeFichiers]\r\n1=a\r\n\r\n[MotDePasse]\r\nChaine=new\r\n");
        QTest::newRow("section added after a last line without end")
            << QByteArray("[ListeFichiers]\r\n1=a")
            << QByteArray("[ListeFichiers]\r\n1=a\r\n[MotDePasse]\r\nChaine=new\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("[MotDePasse]\r\nChaine=new\r\n");
        QTest::newRow("LF ends become CR LF")
            << QByteArray("[A]\nb=1\n[MotDePasse]\nChaine=old\n")
            << QByteArray("[A]\r\nb=1\r\n[MotDePasse]\r\nChaine=new\r\n");
        QTest::newRow("1252 bytes of other lines kept")
            << QByteArray("; caf\xE9 \x80\r\n[MotDePasse]\r\nChaine=old\r\n")
            << QByteArray("; caf\xE9 \x80\r\n[MotDePasse]\r\nChaine=new\r\n");
    }

    void writeKeepsEverythingElse()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        FileBytes::put(ini(), before);
        PrivateProfile::writeString(ini(), section, key, "new");
        QCOMPARE(FileBytes::of(ini()), after);
    }

    // What is written is what is read back, whatever the value holds.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("line");

        QTest::newRow("plain") << "secret" << QByteArray("Chaine=secret");
        QTest::newRow("empty removes the password") << "" << QByteArray("Chaine=");
        QTest::newRow("commas, semicolons, equals") << "a,b;c=d" << QByteArray("Chaine=a,b;c=d");
        QTest::newRow("leading blank") << " abc" << QByteArray("Chaine=\" abc\"");
        QTest::newRow("trailing blank") << "abc " << QByteArray("Chaine=\"abc \"");
        QTest::newRow("tabs around") << "\tabc\t" << QByteArray("Chaine=\"\tabc\t\"");
        QTest::newRow("only blanks") << "   " << QByteArray("Chaine=\"   \"");
        QTest::newRow("wrapped in double quotes") << "\"abc\"" << QByteArray("Chaine=\"\"abc\"\"");
        QTest::newRow("wrapped in single quotes") << "'abc'" << QByteArray("Chaine=\"'abc'\"");
        QTest::newRow("lone quote") << "\"" << QByteArray("Chaine=\"");
        QTest::newRow("quote at one end") << "\"abc" << QByteArray("Chaine=\"abc");
        QTest::newRow("inner quotes") << "a\"b'c" << QByteArray("Chaine=a\"b'c");
        QTest::newRow("1252 characters") << "mél€Œ" << QByteArray("Chaine=m\xE9l\x80\x8C");
        QTest::newRow("character beyond 1252") << "ł" << QByteArray("Chaine=\xC5\x82");
        QTest::newRow("comment sign first") << ";x" << QByteArray("Chaine=;x");
        QTest::newRow("bracket first") << "[x]" << QByteArray("Chaine=[x]");
    }

    void roundTrip()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, line);
        PrivateProfile::writeString(ini(), section, key, value);
        QCOMPARE(FileBytes::of(ini()), "[MotDePasse]\r\n" + line + "\r\n");
        QCOMPARE(PrivateProfile::readString(ini(), section, key, "DEF"), value);
    }

    void longestValueRoundTrips()
    {
        const QString value(1023, QLatin1Char('x'));
        PrivateProfile::writeString(ini(), section, key, value);
        QCOMPARE(PrivateProfile::readString(ini(), section, key), value);
    }

    void characterBeyond1252MakesWholeFileUtf8()
    {
        FileBytes::put(ini(), "; caf\xE9\r\n[MotDePasse]\r\nChaine=old\r\n");
        PrivateProfile::writeString(ini(), section, key, "ł");
        QCOMPARE(FileBytes::of(ini()),
                 QByteArray("; caf\xC3\xA9\r\n[MotDePasse]\r\nChaine=\xC5\x82\r\n"));
        QCOMPARE(PrivateProfile::readString(ini(), section, key), QString("ł"));
    }

    void writeReachesFileOfOtherCase()
    {
        FileBytes::put(dir_->filePath("TALO.INI"), "[MotDePasse]\r\nChaine=old\r\n");
        const QString resolved = FileNames::resolve(dir_->path(), "talo.ini");
        PrivateProfile::writeString(resolved, section, key, "new");
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"TALO.INI"});
        QCOMPARE(PrivateProfile::readString(resolved, section, key), QString("new"));
    }

    // Refused before anything is written: the file stays as it was.
    void badInputIsRefused_data()
    {
        QTest::addColumn<QString>("sectionName");
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");

        const QString lineBreak = "saut de ligne";
        const QString badName = "Nom de section ou de clé incorrect";
        QTest::newRow("LF in value") << section << key << "a\nb" << lineBreak;
        QTest::newRow("CR in value") << section << key << "a\rb" << lineBreak;
        QTest::newRow("CR LF ending value") << section << key << "ab\r\n" << lineBreak;
        QTest::newRow("1024 characters") << section << key << QString(1024, QLatin1Char('x'))
                                         << "La valeur dépasse 1023 caractères";
        QTest::newRow("empty key") << section << ""
                                   << "x" << badName;
        QTest::newRow("blank key") << section << "  "
                                   << "x" << badName;
        QTest::newRow("equals sign in key") << section << "a=b"
                                            << "x" << badName;
        QTest::newRow("key that reads as a comment") << section << ";a"
                                                     << "x" << badName;
        QTest::newRow("key that reads as a header") << section << "[a"
                                                    << "x" << badName;
        QTest::newRow("line break in key") << section << "a\nb"
                                           << "x" << badName;
        QTest::newRow("bracket in section") << "a]b" << key << "x" << badName;
        QTest::newRow("line break in section") << "a\r\nb" << key << "x" << badName;
    }

    void badInputIsRefused()
    {
        QFETCH(QString, sectionName);
        QFETCH(QString, keyName);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        const QByteArray before("[MotDePasse]\r\nChaine=old\r\n");
        FileBytes::put(ini(), before);
        const QString message =
            thrownMessage([&] { PrivateProfile::writeString(ini(), sectionName, keyName, value); });
        QVERIFY2(message.startsWith("Impossible d'écrire le fichier " + ini() + ".\n"),
                 qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(FileBytes::of(ini()), before);
    }

    void readOnlyFolderKeepsOldValue()
    {
        FileBytes::put(ini(), "[MotDePasse]\r\nChaine=old\r\n");
        QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0555) == 0);
        QString message;
        {
            PermissionsEnforced enforced;
            message =
                thrownMessage([&] { PrivateProfile::writeString(ini(), section, key, "new"); });
        }
        QCOMPARE(message, "Impossible d'écrire le fichier " + ini() + ".\nLe dossier " +
                              dir_->path() +
                              " est protégé en écriture : aucun fichier ne peut y être créé ni "
                              "remplacé. L'ancien fichier est conservé tel quel.");
        QCOMPARE(PrivateProfile::readString(ini(), section, key), QString("old"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"talo.ini"});
    }

    // A file that cannot be read is not replaced by one holding only the new key.
    void unreadableFileIsNotReplaced()
    {
        FileBytes::put(ini(), "[ListeFichiers]\r\n1=LSTBENEF.LST\r\n");
        QVERIFY(chmod(QFile::encodeName(ini()).constData(), 0200) == 0);
        QString message;
        {
            PermissionsEnforced enforced;
            message =
                thrownMessage([&] { PrivateProfile::writeString(ini(), section, key, "new"); });
        }
        QVERIFY2(message.startsWith("Impossible de lire le fichier"), qPrintable(message));
        QCOMPARE(FileBytes::of(ini()), QByteArray("[ListeFichiers]\r\n1=LSTBENEF.LST\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestPrivateProfile)
#include "test_private_profile.moc"
