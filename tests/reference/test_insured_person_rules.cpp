#include "platform/store/DatabaseError.h"
#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "reference/InsuredPersonRules.h"
#include "tables/InsuredTable.h"

#include <QTemporaryDir>
#include <QTest>

class TestInsuredPersonRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dependantFlag_data();
    void dependantFlag();
    void postedRowsHoldVraiOrFaux_data();
    void postedRowsHoldVraiOrFaux();
    void nameStillRequired();
};

void TestInsuredPersonRules::dependantFlag_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("saved");
    QTest::newRow("Vrai") << "Vrai"
                          << "Vrai";
    QTest::newRow("Faux") << "Faux"
                          << "Faux";
    QTest::newRow("empty") << ""
                           << "Faux";
    QTest::newRow("lower case vrai") << "vrai"
                                     << "Faux";
    QTest::newRow("upper case VRAI") << "VRAI"
                                     << "Faux";
    QTest::newRow("English True") << "True"
                                  << "Faux";
    QTest::newRow("blank before") << " Vrai"
                                  << "Faux";
    QTest::newRow("blank after") << "Faux "
                                 << "Faux";
}

void TestInsuredPersonRules::dependantFlag()
{
    QFETCH(QString, flag);
    QFETCH(QString, saved);
    QCOMPARE(InsuredPersonRules::normalisedDependantFlag(flag), saved);
}

void TestInsuredPersonRules::postedRowsHoldVraiOrFaux_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("untouched") << ""
                               << "Faux";
    QTest::newRow("ticked") << "Vrai"
                            << "Vrai";
    QTest::newRow("unticked") << "Faux"
                              << "Faux";
    QTest::newRow("other word") << "Oui"
                                << "Faux";
}

void TestInsuredPersonRules::postedRowsHoldVraiOrFaux()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    QVERIFY(TableStorage::createFile(dir.filePath("ASSURE.DB"), InsuredTable::definition()));
    {
        Table table(InsuredTable::definition());
        table.setDatabaseName(dir.path());
        table.beforePost = &InsuredPersonRules::beforePost;
        table.open();
        table.append();
        table.fieldByName(InsuredFields::Nom).setAsString("DURAND");
        table.fieldByName(InsuredFields::AyantDr).setAsString(typed);
        table.post();
    }
    // What reached the file, read back by a fresh component.
    Table reread(InsuredTable::definition());
    reread.setDatabaseName(dir.path());
    reread.open();
    QCOMPARE(reread.recordCount(), 1);
    QCOMPARE(reread.fieldByName(InsuredFields::AyantDr).asString(), stored);
}

void TestInsuredPersonRules::nameStillRequired()
{
    QTemporaryDir dir;
    QVERIFY(TableStorage::createFile(dir.filePath("ASSURE.DB"), InsuredTable::definition()));
    Table table(InsuredTable::definition());
    table.setDatabaseName(dir.path());
    table.beforePost = &InsuredPersonRules::beforePost;
    table.open();
    table.append();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table.post());
    QCOMPARE(table.state(), Table::State::Insert);
    QCOMPARE(table.recordCount(), 0);
}

QTEST_GUILESS_MAIN(TestInsuredPersonRules)
#include "test_insured_person_rules.moc"
