#include "FolderContents.h"

#include "platform/core/PlatformError.h"
#include "platform/core/PrivateProfile.h"
#include "platform/core/SideFile.h"
#include "recovery/PasswordStore.h"
#include "support/ReadOnlyFolder.h"

#include <QTemporaryDir>
#include <QTest>

class TestPasswordStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsNoPassword_data();
    void readsNoPassword();
    void findsTheFileInAnyLetterCase();
    void roundTrip_data();
    void roundTrip();
    void storedAsSaltedHash();
    void clearTextOfAnEarlierVersion_data();
    void clearTextOfAnEarlierVersion();
    void emptyRemovesBothKeys();
    void readOnlyFolderKeepsOldValue();
};

void TestPasswordStore::readsNoPassword_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no talo.ini") << QStringList();
    QTest::newRow("no section") << QStringList{"[ListeFichiers]", "1=LSTBENEF.LST"};
    QTest::newRow("no key") << QStringList{"[MotDePasse]", "Autre=x"};
    QTest::newRow("empty value") << QStringList{"[MotDePasse]", "Chaine="};
    QTest::newRow("key of another section") << QStringList{"[Autre]", "Chaine=x", "[MotDePasse]"};
}

void TestPasswordStore::readsNoPassword()
{
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    if (!lines.isEmpty())
        SideFile::writeLines(dir.path() + "/talo.ini", lines);
    QVERIFY(!PasswordStore::read(dir.path() + "/").isSet());
}

void TestPasswordStore::findsTheFileInAnyLetterCase()
{
    QTemporaryDir dir;
    SideFile::writeLines(dir.path() + "/TALO.INI", {"[motdepasse]", "chaine=Sésame"});
    QVERIFY(PasswordStore::read(dir.path() + "/").matches(QStringLiteral("Sésame")));
    // Writing rewrites that file rather than creating a twin.
    PasswordStore::write(dir.path() + "/", QStringLiteral("autre"));
    QCOMPARE(folderEntries(dir.path()), QStringList{"TALO.INI"});
    QVERIFY(PasswordStore::read(dir.path() + "/").matches(QStringLiteral("autre")));
    QVERIFY(!PasswordStore::read(dir.path() + "/").matches(QStringLiteral("Sésame")));
}

void TestPasswordStore::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("mixed case") << "SeCrEt";
    QTest::newRow("equals and semicolon") << ";a=b=c";
    QTest::newRow("comma") << "un,deux";
    QTest::newRow("quotes around") << "\"cité\"";
    QTest::newRow("one quote") << "l'été";
    QTest::newRow("blanks at both ends") << " devant derrière ";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("section header") << "[MotDePasse]";
    QTest::newRow("outside Windows-1252") << "пароль日本";
    QTest::newRow("longest kept") << QString(1023, QLatin1Char('z'));
}

void TestPasswordStore::roundTrip()
{
    QFETCH(QString, password);
    QTemporaryDir dir;
    SideFile::writeLines(dir.path() + "/talo.ini", {"[ListeFichiers]", "1=LSTBENEF.LST"});
    PasswordStore::write(dir.path() + "/", password);
    const StoredPassword stored = PasswordStore::read(dir.path() + "/");
    QVERIFY(stored.matches(password));
    QVERIFY(!stored.isPlain());
    // Exactly: one character more or less, or another case, is refused.
    QVERIFY(!stored.matches(password.chopped(1)));
    QCOMPARE(SideFile::readLines(dir.path() + "/talo.ini").mid(0, 2),
             QStringList({"[ListeFichiers]", "1=LSTBENEF.LST"}));
}

void TestPasswordStore::storedAsSaltedHash()
{
    QTemporaryDir one, two;
    PasswordStore::write(one.path() + "/", QStringLiteral("Sésame ouvre-toi"));
    PasswordStore::write(two.path() + "/", QStringLiteral("Sésame ouvre-toi"));
    const QString hashOne =
        PrivateProfile::readString(one.path() + "/talo.ini", "MotDePasse", "Empreinte");
    const QString hashTwo =
        PrivateProfile::readString(two.path() + "/talo.ini", "MotDePasse", "Empreinte");
    QVERIFY2(hashOne.startsWith("$argon2id$"), qPrintable(hashOne));
    // Salted: the same password gives two hashes.
    QVERIFY(hashOne != hashTwo);
    // Nothing of the password itself in the file, in any encoding.
    const QByteArray bytes = FileBytes::of(one.path() + "/talo.ini");
    QVERIFY(!bytes.contains("ouvre-toi"));
    QVERIFY(!bytes.contains(QStringLiteral("Sésame").toLatin1()));
    QVERIFY(!bytes.contains(QStringLiteral("Sésame").toUtf8()));
}

void TestPasswordStore::clearTextOfAnEarlierVersion_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("inForce");
    QTest::newRow("clear text only") << QStringList{"[MotDePasse]", "Chaine=Ancien"} << "Ancien";
    QTest::newRow("empty hash beside it")
        << QStringList{"[MotDePasse]", "Empreinte=", "Chaine=Ancien"} << "Ancien";
}

void TestPasswordStore::clearTextOfAnEarlierVersion()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, inForce);
    QTemporaryDir dir;
    SideFile::writeLines(dir.path() + "/talo.ini", QStringList{"[ListeFichiers]", "1=A"} + lines);
    const StoredPassword stored = PasswordStore::read(dir.path() + "/");
    QVERIFY(stored.isPlain());
    QVERIFY(stored.matches(inForce));
    QVERIFY(!stored.matches(inForce.toLower()));
    QVERIFY(!stored.matches(QString()));
    // The next change replaces it with a hash and leaves no clear text behind.
    PasswordStore::write(dir.path() + "/", QStringLiteral("Nouveau"));
    QCOMPARE(PrivateProfile::readString(dir.path() + "/talo.ini", "MotDePasse", "Chaine"),
             QString());
    QVERIFY(!FileBytes::of(dir.path() + "/talo.ini").contains("Ancien"));
    QVERIFY(PasswordStore::read(dir.path() + "/").matches(QStringLiteral("Nouveau")));
    QVERIFY(!PasswordStore::read(dir.path() + "/").matches(inForce));
    QCOMPARE(PrivateProfile::readString(dir.path() + "/talo.ini", "ListeFichiers", "1"),
             QString("A"));
}

void TestPasswordStore::emptyRemovesBothKeys()
{
    QTemporaryDir dir;
    SideFile::writeLines(dir.path() + "/talo.ini", {"[MotDePasse]", "Chaine=Ancien"});
    PasswordStore::write(dir.path() + "/", QStringLiteral("Nouveau"));
    PasswordStore::write(dir.path() + "/", QString());
    QVERIFY(!PasswordStore::read(dir.path() + "/").isSet());
    QVERIFY(!PasswordStore::read(dir.path() + "/").matches(QString()));
}

void TestPasswordStore::readOnlyFolderKeepsOldValue()
{
    QTemporaryDir dir;
    PasswordStore::write(dir.path() + "/", QStringLiteral("ancien"));
    QString message;
    {
        const ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.isReadOnly())
            QSKIP("the folder cannot be made read-only here");
        try {
            PasswordStore::write(dir.path() + "/", QStringLiteral("nouveau"));
        } catch (const PlatformError &e) {
            message = e.message();
        }
    }
    QVERIFY2(message.startsWith(QStringLiteral("Impossible d'écrire le fichier")),
             qPrintable(message));
    QVERIFY(PasswordStore::read(dir.path() + "/").matches(QStringLiteral("ancien")));
}

QTEST_MAIN(TestPasswordStore)
#include "test_password_store.moc"
