#include "safety/ModalDriver.h"
#include "support/FileBytes.h"

#include "platform/store/Table.h"
#include "platform/store/TableStorage.h"
#include "platform/widgets/Dialogs.h"
#include "reports/TFrmExporter.h"
#include "tables/CareEntryTable.h"
#include "tables/DoctorTable.h"
#include "tables/InsuredTable.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace CareFields;

// The file dialog of " Exporter", driven as a person does: a name typed without ".csv" where
// that file exists is asked about before anything is replaced.
class TestExporterDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void replacingAskedAboutTheNameWritten_data();
    void replacingAskedAboutTheNameWritten();

private:
    std::unique_ptr<QTemporaryDir> home_;
    QByteArray savedHome_;
    std::unique_ptr<Table> care_, doctors_, insured_;
};

void TestExporterDialog::init()
{
    Dialogs::startScripting();
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_->path()));
    QVERIFY(QDir(home_->path()).mkdir("programme"));
    const QString programDir = home_->filePath("programme/");
    std::unique_ptr<Table> *tables[] = {&care_, &doctors_, &insured_};
    const TableDefinition *definitions[] = {
        &CareEntryTable::definition(), &DoctorTable::definition(), &InsuredTable::definition()};
    for (int i = 0; i < 3; ++i) {
        TableStorage::createFile(programDir + definitions[i]->fileName(), *definitions[i]);
        *tables[i] = std::make_unique<Table>(*definitions[i]);
        (*tables[i])->setDatabaseName(programDir);
        (*tables[i])->open();
    }
    care_->append();
    care_->fieldByName(DateSoins).setAsDate(QDate(2024, 3, 2));
    care_->fieldByName(Beneficiaire).setAsString("MARTIN");
    care_->fieldByName(Cout).setAsCents(4550);
    care_->post();
}

void TestExporterDialog::cleanup()
{
    care_.reset();
    doctors_.reset();
    insured_.reset();
    qputenv("HOME", savedHome_);
    home_.reset();
    Dialogs::stopScripting();
}

void TestExporterDialog::replacingAskedAboutTheNameWritten_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("the family keeps its file") << false;
    QTest::newRow("the family replaces it") << true;
}

void TestExporterDialog::replacingAskedAboutTheNameWritten()
{
    QFETCH(bool, replace);
    const QString family = home_->filePath("Famille.csv");
    FileBytes::put(family, "the family's own sheet");
    TFrmExporter exporter(*care_, *doctors_, *insured_);
    Dialogs::clearShown();

    QString asked;
    ModalDriver typeName([&](QDialog &files) {
        QVERIFY(qobject_cast<QFileDialog *>(&files));
        auto *name = files.findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(name);
        name->setText("Famille");
        ModalDriver answer([&](QDialog &box) {
            auto *question = qobject_cast<QMessageBox *>(&box);
            QVERIFY(question);
            asked = question->text();
            QTest::mouseClick(question->button(replace ? QMessageBox::Yes : QMessageBox::No),
                              Qt::LeftButton);
        });
        QTest::keyClick(name, Qt::Key_Return);
        // Not replaced: the file dialog is still there, to pick another name or give up.
        if (!replace) {
            QVERIFY(files.isVisible());
            files.reject();
        }
    });
    exporter.btnExporterClick();
    QVERIFY(typeName.fired());

    QVERIFY2(asked.startsWith("Famille.csv "), qPrintable(asked));
    if (replace) {
        QVERIFY(FileBytes::of(family).startsWith("\xef\xbb\xbf"));
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList({"1 fiche(s) exportée(s) dans le fichier « " + family + " »."}));
    } else {
        QCOMPARE(FileBytes::of(family), QByteArray("the family's own sheet"));
        QCOMPARE(Dialogs::shownTexts(), QStringList());
    }
    QCOMPARE(QDir(home_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"Famille.csv"}));
}

QTEST_MAIN(TestExporterDialog)
#include "test_exporter_dialog.moc"
