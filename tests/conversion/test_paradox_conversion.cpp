#include "ParadoxTableMaker.h"
#include "ReadingTestMain.h"

#include "conversion/ParadoxConversion.h"
#include "platform/core/FileNames.h"
#include "platform/store/DatabaseError.h"
#include "platform/store/RowRef.h"
#include "platform/store/TableStorage.h"
#include "support/FileBytes.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Rows = QList<QVariantList>;
using ParadoxTableMaker::Field;

namespace
{
const TableDefinition &definitionOf(const QString &tableFile)
{
    if (tableFile == QLatin1String("TALO.DB"))
        return CareEntryTable::definition();
    if (tableFile == QLatin1String("MEDECINS.DB"))
        return DoctorTable::definition();
    return InsuredTable::definition();
}

std::vector<std::vector<QVariant>> asRows(const Rows &rows)
{
    std::vector<std::vector<QVariant>> out;
    for (const QVariantList &row : rows)
        out.emplace_back(row.begin(), row.end());
    return out;
}

// The converted table's rows in the order they were written, each as name → value.
QList<QVariantMap> readBack(const TableDefinition &def, const QString &path)
{
    TableStorage storage(def, path);
    RowStore store(def);
    storage.loadAll(store); // in the file's order: by row identity
    QList<QVariantMap> rows;
    for (quint32 slot = 0; slot < store.slotCount(); ++slot) {
        QVariantMap row;
        for (int i = 0; i < def.fieldCount(); ++i) {
            if (!def.field(i).calculated && def.field(i).kind != FieldKind::AutoIncrement)
                row.insert(def.field(i).name, def.valueOf(RowRef(store, slot), i));
        }
        rows.append(row);
    }
    return rows;
}

ParadoxConversion::TableResult convert(const QString &dir, const QString &tableFile,
                                       const std::vector<Field> &fields, const Rows &rows,
                                       bool withMemoFile = true)
{
    const QString db = dir + QStringLiteral("/paradox.db");
    const QString mb = dir + QStringLiteral("/paradox.mb");
    ParadoxTableMaker::write(db, mb, fields, asRows(rows));
    if (!withMemoFile)
        QFile::remove(mb);
    return ParadoxConversion::convertTable(definitionOf(tableFile), db,
                                           withMemoFile ? mb : QString(), dir + "/" + tableFile);
}

QString longMemo()
{
    QString memo;
    while (memo.size() < 300)
        memo += QStringLiteral("Œdème à l'épaule, reçu 12 € ; ");
    return memo;
}
} // namespace

class TestParadoxConversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsEveryFieldRowByRow_data();
    void convertsEveryFieldRowByRow();
    void leavesOutRowsItCannotTake_data();
    void leavesOutRowsItCannotTake();
    void damagedTableLosesNothing_data();
    void damagedTableLosesNothing();
    void movesTheFilesAsideBeforeConverting();
    void paradoxTableIsNotCalledDamaged();
};

void TestParadoxConversion::convertsEveryFieldRowByRow_data()
{
    QTest::addColumn<QString>("tableFile");
    QTest::addColumn<Rows>("rows");
    const QVariant empty;
    QTest::newRow("care entries")
        << "TALO.DB"
        << Rows{{QDate(2024, 3, 2), "HÉLÈNE", "ŒDIPE", "Médecine Générale", "Chèque", 25.0,
                 longMemo(), QDate(2024, 3, 20), 25.0, 17.5, longMemo().repeated(20), "Faux",
                 QDate(1999, 12, 31), 7.49, QString(241, QChar(u'é')), "Vrai", 99999.99, 1LL},
                {QDate(2001, 1, 1), "PAUL", empty, empty, empty, 0.01, empty, empty, empty, empty,
                 empty, empty, empty, empty, empty, empty, empty, 2LL}};
    QTest::newRow("doctors") << "MEDECINS.DB"
                             << Rows{{"LEFÈVRE", "Agnès", "Ophtalmologie", "Besançon",
                                      "12, rue de l'Église", "25000", "03-81-00-00-00", 1LL},
                                     {"ÉCHO", empty, empty, empty, empty, empty, empty, 2LL}};
    QTest::newRow("insured persons")
        << "ASSURE.DB"
        << Rows{{"MÜLLER", "Françoise", "01/02/45", "2450275123456-78", "31/12/99", "Vrai", 1LL},
                {"DURAND", empty, empty, empty, empty, empty, 2LL}};
}

void TestParadoxConversion::convertsEveryFieldRowByRow()
{
    QFETCH(QString, tableFile);
    QFETCH(Rows, rows);
    QTemporaryDir dir;
    const auto fields = ParadoxTableMaker::fieldsOf(tableFile);
    const auto result = convert(dir.path(), tableFile, fields, rows);
    QCOMPARE(result.failure, QString());
    QCOMPARE(result.converted, rows.size());
    QVERIFY(result.leftOut.empty());
    QCOMPARE(result.fieldsNotCarried, QStringList());

    const auto &def = definitionOf(tableFile);
    const QList<QVariantMap> back = readBack(def, dir.path() + "/" + tableFile);
    QCOMPARE(back.size(), rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (size_t f = 0; f + 1 < fields.size(); ++f) {
            QVariant expected = rows[r][int(f)];
            if (expected.typeId() == QMetaType::Double)
                expected = qlonglong(qRound64(expected.toDouble() * 100));
            QCOMPARE(back[r].value(fields[f].name), expected);
        }
    }
}

void TestParadoxConversion::leavesOutRowsItCannotTake_data()
{
    QTest::addColumn<QVariantList>("row");
    QTest::addColumn<QString>("reason");
    const QVariant empty;
    QTest::newRow("complete") << QVariantList{QDate(2020, 5, 4), "JEAN", 10.0, "x", 1LL}
                              << QString();
    QTest::newRow("name too long")
        << QVariantList{QDate(2020, 5, 4), QString(21, QChar(u'É')), 10.0, empty, 1LL}
        << "le champ « Beneficiaire » a 21 caractères, 20 au plus";
    QTest::newRow("no beneficiary") << QVariantList{QDate(2020, 5, 4), empty, 10.0, empty, 1LL}
                                    << "le champ « Beneficiaire » est vide";
    QTest::newRow("no cost") << QVariantList{QDate(2020, 5, 4), "JEAN", empty, empty, 1LL}
                             << "le champ « Cout » est vide";
    QTest::newRow("no date") << QVariantList{empty, "JEAN", 3.0, empty, 1LL}
                             << "le champ « Date soins » est vide";
}

void TestParadoxConversion::leavesOutRowsItCannotTake()
{
    QFETCH(QVariantList, row);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    // A wider name than the program's, and a field the program does not know.
    const std::vector<Field> fields{{"Date soins", 0x02, 4},
                                    {"Beneficiaire", 0x01, 30},
                                    {"Cout", 0x05, 8},
                                    {"Remarque", 0x01, 10},
                                    {"Numero", 0x16, 4}};
    const auto result = convert(dir.path(), "TALO.DB", fields, {row, row});
    QCOMPARE(result.failure, QString());
    QCOMPARE(result.fieldsNotCarried, QStringList{"« Remarque » (inconnu de Talo 3.0)"});
    QCOMPARE(result.converted, reason.isEmpty() ? 2 : 0);
    QCOMPARE(int(result.leftOut.size()), reason.isEmpty() ? 0 : 2);
    if (!reason.isEmpty()) {
        QCOMPARE(result.leftOut[1].number, 2);
        QCOMPARE(result.leftOut[1].reason, reason);
    }
    QCOMPARE(readBack(CareEntryTable::definition(), dir.path() + "/TALO.DB").size(),
             result.converted);
}

void TestParadoxConversion::damagedTableLosesNothing_data()
{
    QTest::addColumn<int>("keptBytes"); // of the .DB file; -1 keeps it whole
    QTest::addColumn<bool>("withMemoFile");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("leftOutReason");
    QTest::newRow("cut in its data") << 2048 + 300 << true
                                     << "La table Paradox ne peut pas être lue : le fichier est "
                                        "tronqué (plus court que ce qu'annonce son en-tête)."
                                     << QString();
    QTest::newRow("cut in its header") << 200 << true
                                       << "La table Paradox ne peut pas être lue : le fichier est "
                                          "tronqué (plus court que ce qu'annonce son en-tête)."
                                       << QString();
    QTest::newRow("not a table at all")
        << 0 << true << "La table Paradox ne peut pas être lue : son en-tête est endommagé."
        << QString();
    QTest::newRow("memo file missing")
        << -1 << false << QString()
        << "le mémo « Note soins » est illisible (fichier .MB absent ou endommagé)";
}

void TestParadoxConversion::damagedTableLosesNothing()
{
    QFETCH(int, keptBytes);
    QFETCH(bool, withMemoFile);
    QFETCH(QString, failure);
    QFETCH(QString, leftOutReason);
    QTemporaryDir dir;
    const QString db = dir.filePath("paradox.db");
    const QString mb = dir.filePath("paradox.mb");
    QVariantList row{QDate(2024, 3, 2), "HÉLÈNE", "", "", "", 25.0, longMemo()};
    while (row.size() < 17)
        row.append(QVariant());
    row.append(1LL);
    ParadoxTableMaker::write(db, mb, ParadoxTableMaker::careEntryFields(), asRows(Rows{row, row}));
    if (!withMemoFile)
        QFile::remove(mb);
    if (keptBytes >= 0)
        FileBytes::put(db, FileBytes::of(db).left(keptBytes));
    const QByteArray before = FileBytes::of(db);

    const auto result = ParadoxConversion::convertTable(
        CareEntryTable::definition(), db, withMemoFile ? mb : QString(), dir.filePath("TALO.DB"));
    QCOMPARE(result.failure, failure);
    QCOMPARE(FileBytes::of(db), before);
    if (!failure.isEmpty()) {
        // Nothing half-written: no table, no temporary file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 withMemoFile ? 2 : 1);
        return;
    }
    QCOMPARE(result.converted, 0);
    QCOMPARE(int(result.leftOut.size()), 2);
    QCOMPARE(result.leftOut[0].reason, leftOutReason);
    QCOMPARE(result.leftOut[0].description, QStringLiteral("02/03/2024, HÉLÈNE"));
}

void TestParadoxConversion::movesTheFilesAsideBeforeConverting()
{
    QTemporaryDir dir;
    const QDir program(dir.path());
    const Rows care{{QDate(2024, 3, 2), "MARIE", QVariant(), QVariant(), QVariant(), 20.0}};
    ParadoxTableMaker::write(program.filePath("talo.db"), program.filePath("TALO.MB"),
                             ParadoxTableMaker::careEntryFields(), asRows(care));
    FileBytes::put(program.filePath("TALO.PX"), "index");
    FileBytes::put(program.filePath("TALO.TXT"), "not a companion");
    ParadoxTableMaker::write(program.filePath("MEDECINS.DB"), QString(),
                             ParadoxTableMaker::doctorFields(), asRows(Rows{{"DUPONT"}}));
    TableStorage::createFile(program.filePath("ASSURE.DB"), InsuredTable::definition());
    const QByteArray original = FileBytes::of(program.filePath("talo.db"));

    const auto pending = ParadoxConversion::pending(dir.path());
    QCOMPARE(ParadoxConversion::fileNames(pending), (QStringList{"TALO.DB", "MEDECINS.DB"}));
    const auto result = ParadoxConversion::run(dir.path(), pending);
    QVERIFY2(result.complete(), qPrintable(result.summary()));
    QCOMPARE(result.archive, program.filePath("Tables Paradox"));
    QCOMPARE(QDir(result.archive).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
             (QStringList{"MEDECINS.DB", "talo.db", "TALO.MB", "TALO.PX"}));
    QCOMPARE(FileBytes::of(program.filePath("Tables Paradox/talo.db")), original);
    QVERIFY(QFile::exists(program.filePath("TALO.TXT")));
    // The companions went with the originals; the new table took the original's name.
    QCOMPARE(program.entryList({"TALO.*", "MEDECINS.*"}, QDir::Files | QDir::Hidden,
                               QDir::Name | QDir::IgnoreCase),
             (QStringList{"MEDECINS.DB", "talo.db", "TALO.TXT"}));
    QCOMPARE(readBack(CareEntryTable::definition(), program.filePath("talo.db")).size(), 1);
    QCOMPARE(readBack(DoctorTable::definition(), program.filePath("MEDECINS.DB")).size(), 1);
    QCOMPARE(result.summary(),
             "TALO.DB : 1 enregistrement(s) converti(s).\nMEDECINS.DB : 1 enregistrement(s) "
             "converti(s).\n\nLes fichiers Paradox d'origine sont conservés dans le dossier " +
                 program.filePath("Tables Paradox") + ".");
    QVERIFY(ParadoxConversion::pending(dir.path()).empty());

    // A second set of tables never overwrites the first one's originals.
    QFile::remove(program.filePath("MEDECINS.DB"));
    ParadoxTableMaker::write(program.filePath("MEDECINS.DB"), QString(),
                             ParadoxTableMaker::doctorFields(), asRows(Rows{{"MARTIN"}}));
    const auto again = ParadoxConversion::run(dir.path(), ParadoxConversion::pending(dir.path()));
    QCOMPARE(again.archive, program.filePath("Tables Paradox (2)"));
    QCOMPARE(FileBytes::of(program.filePath("Tables Paradox/TALO.MB")).isEmpty(), false);
}

void TestParadoxConversion::paradoxTableIsNotCalledDamaged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("TALO.DB");
    ParadoxTableMaker::write(path, QString(), ParadoxTableMaker::careEntryFields(), {});
    const QByteArray before = FileBytes::of(path);
    try {
        TableStorage storage(CareEntryTable::definition(), path);
        QFAIL("a Paradox table opened as one of ours");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.message().contains("C'est une table Paradox, qui n'a pas été convertie"),
                 qPrintable(e.message()));
    }
    QCOMPARE(FileBytes::of(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"TALO.DB"});
}

TALO_READING_TEST_MAIN(TestParadoxConversion, QCoreApplication)
#include "test_paradox_conversion.moc"
