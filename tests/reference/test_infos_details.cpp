#include "reference/ProgramFolder.h"
#include "reference/Typing.h"
#include "reference/WindowDriving.h"
#include "support/FileBytes.h"
#include "support/PermissionsEnforced.h"

#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "reference/TFrmInfos.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace InsuredFields;
using namespace WindowDriving;

static const QStringList insurerEdits{"chpOrganisme",   "chpNumSS",       "chpCaisse",
                                      "chpAdresse",     "chpNomMutuelle", "chpAdresseMutuelle",
                                      "chpTelMutuelle", "chpNumMutuelle", "chpModeMutuelle"};

class TestInfosDetails : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void captionSizeAndFont();
    void toolBar();
    void boxesInOrderWithGreenBoldCaptions();
    void insurerEditsAndLabels_data();
    void insurerEditsAndLabels();
    void detailsLoadedAtCreation();
    void firstRunWritesEmptyLines();
    void typedDetailsWrittenExactly();
    void unreadableFileShownAndNeverOverwritten();
    void detailsKeptAcrossClosingNotReread();
    void enterCyclesInsurerFields_data();
    void enterCyclesInsurerFields();
    void clickOnBoxFocusesFirstField_data();
    void clickOnBoxFocusesFirstField();
    void clickOnLabelMovesNothing();
    void helpContext();
    void missingTableLeavesDetailsWorking();

private:
    void writeDetailFiles();

    ProgramFolder *folder_ = nullptr;
};

void TestInfosDetails::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestInfosDetails::init()
{
    Dialogs::startScripting();
    Help::startRecording();
    folder_ = new ProgramFolder;
    QVERIFY(folder_->isValid());
    folder_->createInsured();
}

void TestInfosDetails::cleanup()
{
    closeAll();
    QFile::setPermissions(folder_->filePath("talosoc.inf"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    delete folder_;
    folder_ = nullptr;
    Help::stopRecording();
    Dialogs::stopScripting();
}

void TestInfosDetails::writeDetailFiles()
{
    FileBytes::put(folder_->filePath("talosoc.inf"),
                   "CPAM de Lyon\r\n691\r\nCaisse primaire\r\n5 place Bellecour\r\n");
    FileBytes::put(
        folder_->filePath("mutuelle.inf"),
        "Mutuelle G\xE9n\xE9rale\r\n3 rue X\r\n04-72-00-00-00\r\n123456\r\nCh\xE8que\r\n");
}

void TestInfosDetails::captionSizeAndFont()
{
    TFrmInfos window(folder_->path());
    QCOMPARE(window.objectName(), QStringLiteral("TFrmInfos"));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Talo 3.0 - Informations"));
    show(window);
    QCOMPARE(window.size(), QSize(445, 451));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(window.font().pointSize(), 8);
    QCOMPARE(focused()->objectName(), QStringLiteral("chpOrganisme"));
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestInfosDetails::toolBar()
{
    TFrmInfos window(folder_->path());
    show(window);
    auto *bar = child<QWidget>(window, "Panel1");
    QCOMPARE(bar->geometry(), QRect(0, 0, 445, 33));
    auto *help = child<QToolButton>(window, "btnAide");
    auto *quit = child<QToolButton>(window, "BtnQuitter");
    QCOMPARE(help->toolTip(), QStringLiteral("Aide sur Informations"));
    QCOMPARE(quit->toolTip(), QStringLiteral("Quitter Informations"));
    QVERIFY(help->x() < quit->x());
    QVERIFY(bar->isAncestorOf(help) && bar->isAncestorOf(quit));
}

void TestInfosDetails::boxesInOrderWithGreenBoldCaptions()
{
    TFrmInfos window(folder_->path());
    show(window);
    const QList<std::pair<QString, QString>> boxes{{"cadreSS", "Sécurité Sociale"},
                                                   {"cadreMutuelle", "Mutuelle"},
                                                   {"cadreAssures", "Liste des assurés sociaux"}};
    int previousBottom = 33;
    for (const auto &[name, caption] : boxes) {
        auto *box = child<QGroupBox>(window, name);
        QCOMPARE(box->title(), caption);
        QVERIFY(box->font().bold());
        QVERIFY2(box->y() >= previousBottom, qPrintable(name));
        QVERIFY2(window.rect().contains(box->geometry()), qPrintable(name));
        previousBottom = box->geometry().bottom();
        // The caption is drawn in green; the fields inside are not bold.
        const QImage image = box->grab(QRect(0, 0, box->width(), 16)).toImage();
        int green = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.green() >= 100 && c.red() <= 40 && c.blue() <= 40)
                    ++green;
            }
        QVERIFY2(green > 20, qPrintable(name));
        for (QLabel *label : box->findChildren<QLabel *>())
            QVERIFY2(!label->font().bold(), qPrintable(label->text()));
    }
}

void TestInfosDetails::insurerEditsAndLabels_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("box");
    const QStringList labels{"Organisme d'affiliation :",
                             "Num. du centre de S.S. :",
                             "Caisse de prestation :",
                             "Adresse :",
                             "Nom :",
                             "Adresse :",
                             "Téléphone :",
                             "Numéro d'assuré :",
                             "Mode de réglement :"};
    for (qsizetype i = 0; i < insurerEdits.size(); ++i)
        QTest::newRow(qPrintable(insurerEdits[i]))
            << insurerEdits[i] << labels[i] << (i < 4 ? "cadreSS" : "cadreMutuelle");
}

void TestInfosDetails::insurerEditsAndLabels()
{
    QFETCH(QString, edit);
    QFETCH(QString, label);
    QFETCH(QString, box);
    TFrmInfos window(folder_->path());
    show(window);
    auto *field = child<QLineEdit>(window, edit);
    QVERIFY(!field->hasFrame());
    QCOMPARE(field->maxLength(), 32767);
    auto *group = child<QGroupBox>(window, box);
    QVERIFY(group->isAncestorOf(field));
    QLabel *caption = nullptr;
    for (QLabel *candidate : group->findChildren<QLabel *>())
        if (candidate->buddy() == field)
            caption = candidate;
    QVERIFY(caption != nullptr);
    QCOMPARE(caption->text(), label);
    const QRect labelRect(caption->mapTo(&window, QPoint()), caption->size());
    const QRect fieldRect(field->mapTo(&window, QPoint()), field->size());
    QVERIFY(labelRect.right() < fieldRect.left());
    QVERIFY(qAbs(labelRect.center().y() - fieldRect.center().y()) <= 2);
    QVERIFY(caption->width() >= caption->sizeHint().width());
    QVERIFY(field->height() >= field->fontMetrics().height());
}

void TestInfosDetails::detailsLoadedAtCreation()
{
    writeDetailFiles();
    TFrmInfos window(folder_->path());
    const QStringList expected{"CPAM de Lyon",
                               "691",
                               "Caisse primaire",
                               "5 place Bellecour",
                               "Mutuelle Générale",
                               "3 rue X",
                               "04-72-00-00-00",
                               "123456",
                               "Chèque"};
    for (qsizetype i = 0; i < insurerEdits.size(); ++i)
        QCOMPARE(child<QLineEdit>(window, insurerEdits[i])->text(), expected[i]);
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestInfosDetails::firstRunWritesEmptyLines()
{
    TFrmInfos window(folder_->path());
    for (const QString &name : insurerEdits)
        QCOMPARE(child<QLineEdit>(window, name)->text(), QString());
    QVERIFY(Dialogs::shown().isEmpty());
    window.writeDetails();
    QCOMPARE(FileBytes::of(folder_->filePath("talosoc.inf")), QByteArray("\r\n\r\n\r\n\r\n"));
    QCOMPARE(FileBytes::of(folder_->filePath("mutuelle.inf")), QByteArray("\r\n\r\n\r\n\r\n\r\n"));
}

void TestInfosDetails::typedDetailsWrittenExactly()
{
    TFrmInfos window(folder_->path());
    show(window);
    Typing::type(focused(), "  CPAM Rhône ");
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    Typing::type(focused(), "1 rue A");
    press(Qt::Key_Return);
    QCOMPARE(focused()->objectName(), QStringLiteral("chpNomMutuelle"));
    Typing::type(focused(), "MGEN");
    child<QLineEdit>(window, "chpModeMutuelle")->setFocus();
    Typing::type(focused(), "Virement");
    window.writeDetails();
    QCOMPARE(FileBytes::of(folder_->filePath("talosoc.inf")),
             QByteArray("  CPAM Rh\xF4ne \r\n\r\n\r\n1 rue A\r\n"));
    QCOMPARE(FileBytes::of(folder_->filePath("mutuelle.inf")),
             QByteArray("MGEN\r\n\r\n\r\n\r\nVirement\r\n"));
}

void TestInfosDetails::unreadableFileShownAndNeverOverwritten()
{
    writeDetailFiles();
    const QByteArray stored = FileBytes::of(folder_->filePath("talosoc.inf"));
    QVERIFY(QFile::setPermissions(folder_->filePath("talosoc.inf"), QFileDevice::WriteOwner));
    std::unique_ptr<TFrmInfos> window;
    {
        PermissionsEnforced enforced;
        window = std::make_unique<TFrmInfos>(folder_->path());
    }
    if (Dialogs::shown().isEmpty())
        QSKIP("permission bits are not enforced here");
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QVERIFY(Dialogs::shown().first().text.contains("talosoc.inf"));
    QCOMPARE(child<QLineEdit>(*window, "chpOrganisme")->text(), QString());
    QCOMPARE(child<QLineEdit>(*window, "chpNomMutuelle")->text(),
             QStringLiteral("Mutuelle Générale"));
    child<QLineEdit>(*window, "chpNomMutuelle")->setText("MGEN");
    window->writeDetails();
    QVERIFY(QFile::setPermissions(folder_->filePath("talosoc.inf"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(FileBytes::of(folder_->filePath("talosoc.inf")), stored);
    QCOMPARE(FileBytes::of(folder_->filePath("mutuelle.inf")),
             QByteArray("MGEN\r\n3 rue X\r\n04-72-00-00-00\r\n123456\r\nCh\xE8que\r\n"));
}

void TestInfosDetails::detailsKeptAcrossClosingNotReread()
{
    TFrmInfos window(folder_->path());
    show(window);
    Typing::type(focused(), "CPAM");
    QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    // Closing writes nothing.
    QCOMPARE(FileBytes::of(folder_->filePath("talosoc.inf")), QByteArray("<none>"));
    writeDetailFiles();
    show(window);
    QCOMPARE(child<QLineEdit>(window, "chpOrganisme")->text(), QStringLiteral("CPAM"));
    QCOMPARE(child<QLineEdit>(window, "chpNomMutuelle")->text(), QString());
    QCOMPARE(focused()->objectName(), QStringLiteral("chpOrganisme"));
}

void TestInfosDetails::enterCyclesInsurerFields_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    for (qsizetype i = 0; i < insurerEdits.size(); ++i) {
        const QString next = insurerEdits[(i + 1) % insurerEdits.size()];
        QTest::newRow(qPrintable(insurerEdits[i])) << insurerEdits[i] << next;
    }
}

void TestInfosDetails::enterCyclesInsurerFields()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    TFrmInfos window(folder_->path());
    show(window);
    auto *edit = child<QLineEdit>(window, from);
    edit->setFocus();
    Typing::type(edit, "ab");
    press(Qt::Key_Enter);
    QCOMPARE(focused()->objectName(), to);
    // The Enter character reached no field.
    QCOMPARE(edit->text(), QStringLiteral("ab"));
}

void TestInfosDetails::clickOnBoxFocusesFirstField_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("first");
    QTest::newRow("cadreSS") << "cadreSS"
                             << "chpOrganisme";
    QTest::newRow("cadreMutuelle") << "cadreMutuelle"
                                   << "chpNomMutuelle";
    QTest::newRow("cadreAssures") << "cadreAssures"
                                  << "DBchpNom";
}

void TestInfosDetails::clickOnBoxFocusesFirstField()
{
    QFETCH(QString, box);
    QFETCH(QString, first);
    folder_->addInsured({Nom}, {"DURAND"});
    TFrmInfos window(folder_->path());
    show(window);
    auto *group = child<QGroupBox>(window, box);
    // On the caption.
    child<QWidget>(window, "chpCaisse")->setFocus();
    QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(12, 6));
    QCOMPARE(focused()->objectName(), first);
    // On the frame.
    child<QWidget>(window, "chpCaisse")->setFocus();
    QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(2, group->height() / 2));
    QCOMPARE(focused()->objectName(), first);
}

void TestInfosDetails::clickOnLabelMovesNothing()
{
    TFrmInfos window(folder_->path());
    show(window);
    QLabel *label = nullptr;
    for (QLabel *candidate : window.findChildren<QLabel *>())
        if (candidate->text() == QStringLiteral("Téléphone :"))
            label = candidate;
    QVERIFY(label != nullptr);
    child<QWidget>(window, "chpCaisse")->setFocus();
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(focused()->objectName(), QStringLiteral("chpCaisse"));
}

void TestInfosDetails::helpContext()
{
    TFrmInfos window(folder_->path());
    show(window);
    QTest::mouseClick(child<QToolButton>(window, "btnAide"), Qt::LeftButton);
    QVERIFY(Help::lastRequest().has_value());
    QCOMPARE(Help::lastRequest()->context, 1);
}

void TestInfosDetails::missingTableLeavesDetailsWorking()
{
    QVERIFY(QFile::remove(folder_->filePath("ASSURE.DB")));
    writeDetailFiles();
    TFrmInfos window(folder_->path());
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(Dialogs::shown().first().kind, Dialogs::Kind::Error);
    QVERIFY(Dialogs::shown().first().text.contains("ASSURE.DB"));
    QCOMPARE(child<QLineEdit>(window, "chpOrganisme")->text(), QStringLiteral("CPAM de Lyon"));
    show(window);
    QVERIFY(!child<DBEdit>(window, "DBchpNom")->isEnabled());
    QVERIFY(!child<DBNavigator>(window, "navAssure")->isEnabled());
    QVERIFY(!child<DBCheckBox>(window, "DBchpAyantDr")->isEnabled());
    for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Up, Qt::Key_Down, Qt::Key_Escape})
        press(key);
    QCOMPARE(focused()->objectName(), QStringLiteral("chpOrganisme"));
    QTest::mouseClick(child<QGroupBox>(window, "cadreAssures"), Qt::LeftButton, {}, QPoint(12, 6));
    QCOMPARE(focused()->objectName(), QStringLiteral("chpOrganisme"));
    QCOMPARE(Dialogs::shown().size(), 1);
    press(Qt::Key_End);
    Typing::type(focused(), "X");
    window.writeDetails();
    QCOMPARE(FileBytes::of(folder_->filePath("talosoc.inf")),
             QByteArray("CPAM de LyonX\r\n691\r\nCaisse primaire\r\n5 place Bellecour\r\n"));
    QTest::mouseClick(child<QToolButton>(window, "BtnQuitter"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestInfosDetails)
#include "test_infos_details.moc"
