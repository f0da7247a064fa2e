#include "app/ProgramDirectory.h"
#include "platform/store/Table.h"
#include "tables/CareEntryTable.h"

#include <QTemporaryDir>
#include <QtTest>

// What the installation leaves in a program directory, and what it never touches.
class TestProgramDirectory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshFolderGetsEmptyTablesAndTheFileList()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("Talo");
        QCOMPARE(ProgramDirectory::provision(folder),
                 QStringList({"TALO.DB", "MEDECINS.DB", "ASSURE.DB", "talo.ini"}));
        QFile ini(folder + "/talo.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray("[ListeFichiers]\r\n1=LSTBENEF.LST\r\n2=talosoc.inf\r\n"
                                           "3=mutuelle.inf\r\n4=talo.ini\r\n"));
        Table table(CareEntryTable::definition());
        table.setDatabaseName(folder);
        table.open();
        QCOMPARE(table.recordCount(), 0);
    }

    void existingDataIsNeverTouched()
    {
        QTemporaryDir dir;
        ProgramDirectory::provision(dir.path());
        {
            Table table(CareEntryTable::definition());
            table.setDatabaseName(dir.path());
            table.open();
            table.append();
            table.fieldByName("Date soins").setAsString("01/02/25");
            table.fieldByName("Beneficiaire").setAsString("PAUL");
            table.fieldByName("Cout").setAsString("25");
            table.post();
        }
        QVERIFY(QFile::rename(dir.filePath("talo.ini"), dir.filePath("TALO.INI")));
        QFile ini(dir.filePath("TALO.INI"));
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("[MotDePasse]\r\nChaine=secret\r\n");
        ini.close();

        QCOMPARE(ProgramDirectory::provision(dir.path()), QStringList());
        QVERIFY(!QFile::exists(dir.filePath("talo.ini")));
        Table table(CareEntryTable::definition());
        table.setDatabaseName(dir.path());
        table.open();
        QCOMPARE(table.recordCount(), 1);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().endsWith("Chaine=secret\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestProgramDirectory)
#include "test_program_directory.moc"
