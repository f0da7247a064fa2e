#include "FolderContents.h"

#include "platform/core/PlatformError.h"
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
    QCOMPARE(PasswordStore::read(dir.path() + "/"), QString());
}

void TestPasswordStore::findsTheFileInAnyLetterCase()
{
    QTemporaryDir dir;
    SideFile::writeLines(dir.path() + "/TALO.INI", {"[motdepasse]", "chaine=Sésame"});
    QCOMPARE(PasswordStore::read(dir.path() + "/"), QStringLiteral("Sésame"));
    // Writing rewrites that file rather than creating a twin.
    PasswordStore::write(dir.path() + "/", QStringLiteral("autre"));
    QCOMPARE(folderEntries(dir.path()), QStringList{"TALO.INI"});
    QCOMPARE(PasswordStore::read(dir.path() + "/"), QStringLiteral("autre"));
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
    QCOMPARE(PasswordStore::read(dir.path() + "/"), password);
    QCOMPARE(SideFile::readLines(dir.path() + "/talo.ini").mid(0, 2),
             QStringList({"[ListeFichiers]", "1=LSTBENEF.LST"}));
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
    QCOMPARE(PasswordStore::read(dir.path() + "/"), QStringLiteral("ancien"));
}

QTEST_MAIN(TestPasswordStore)
#include "test_password_store.moc"
