#include "followup/FollowUpModel.h"
#include "followup/TFrmBilanAnnuel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/core/Today.h"
#include "tables/CpamRules.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

// Both windows as a person meets them on an old register, in a light and a dark palette:
// every column in sight at the opening size, tables no higher than their rows, red only where
// a reminder can still help, and a red that reads on the background.
// With TALO_SCREENSHOT_DIR set, each window is also saved there as a PNG, to be looked at.
class TestFollowUpWindows : public QObject
{
    Q_OBJECT

private:
    QPalette light_;

    static std::vector<CareFacts> oldRegister()
    {
        const char *const names[] = {"ANNE-SOPHIE", "JEAN-BAPTISTE DUPONT-LAMBERTIN", "PAUL",
                                     "ZOÉ"};
        const char *const specialities[] = {"Dentiste", "Généraliste", "Kinésithérapeute",
                                            "Ophtalmologiste", ""};
        std::vector<CareFacts> entries;
        for (int i = 0; i < 400; ++i) {
            CareFacts e;
            e.date = QDate(1994, 1, 3).addDays(i * 29);
            e.beneficiary = QString::fromUtf8(names[i % 4]);
            e.doctor = QStringLiteral("Dr MARTIN");
            e.speciality = QString::fromUtf8(specialities[i % 5]);
            e.cost = 2500 + 1000 * (i % 7);
            e.act = CareActs::of(e.speciality);
            e.cpamPaid = i % 3 != 0;
            // 70 %, less what is withheld from the doctor's and the physiotherapist's shares.
            const qint64 withheld = i % 5 == 1 || i % 5 == 2 ? CpamRules::unit(e.act, e.date) : 0;
            e.cpam = e.cpamPaid ? e.cost * 7 / 10 - withheld : 0;
            e.mutuellePaid = e.cpamPaid && i % 4 != 0;
            e.mutual = e.mutuellePaid ? e.cost * 3 / 10 + (i % 11 == 0 ? 500 : 0) : 0;
            entries.push_back(e);
        }
        return entries;
    }
    static double luminance(const QColor &c)
    {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    }
    static double contrast(const QColor &a, const QColor &b)
    {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }
    static QPalette darkPalette()
    {
        QPalette p;
        p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        p.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
        p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        p.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
        p.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
        p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
        p.setColor(QPalette::ButtonText, QColor(0xe0, 0xe0, 0xe0));
        p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        p.setColor(QPalette::HighlightedText, Qt::white);
        return p;
    }
    static void save(QWidget &window, const QString &name)
    {
        const QString dir = qEnvironmentVariable("TALO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            window.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        light_ = QApplication::style()->standardPalette();
        Today::pinForTesting(QDate(2026, 12, 8));
    }
    void cleanup() { QApplication::setPalette(light_); }

    void followUp_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void followUp()
    {
        QFETCH(bool, dark);
        QApplication::setPalette(dark ? darkPalette() : light_);
        TFrmSuiviRemboursements window(oldRegister(), QStringLiteral("Bénéficiaire : TOUS"));
        window.resize(std::min(window.width(), 1024), std::min(window.height(), 768));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *grid = window.findChild<QTableView *>(QStringLiteral("grilleSuivi"));
        QAbstractItemModel *model = grid->model();
        const QColor base = QApplication::palette().color(QPalette::Base);
        int red = 0, plain = 0;
        for (int r = 0; r < model->rowCount(); ++r) {
            const auto line = static_cast<FollowUpModel *>(model)->line(r);
            const QVariant colour = model->index(r, FollowUpModel::Age).data(Qt::ForegroundRole);
            const QString age = model->index(r, FollowUpModel::Age).data().toString();
            QVERIFY2(age.contains(QRegularExpression(QStringLiteral("^\\d+ (jours?|mois|ans)$"))),
                     qPrintable(age));
            if (line->ageInDays > 730) {
                QVERIFY2(!colour.isValid(), qPrintable(age));
                ++plain;
            } else if (line->ageInDays > 30) {
                QVERIFY(colour.isValid());
                QVERIFY2(contrast(colour.value<QBrush>().color(), base) >= 4.5,
                         qPrintable(colour.value<QBrush>().color().name()));
                ++red;
            }
        }
        QVERIFY(red > 0 && plain > red);
        save(window, dark ? QStringLiteral("suivi-sombre") : QStringLiteral("suivi-clair"));
    }

    void yearSummary_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("year");
        QTest::newRow("light, one year") << false << 2025;
        QTest::newRow("dark, one year") << true << 2025;
        QTest::newRow("dark, all years") << true << 0;
    }
    void yearSummary()
    {
        QFETCH(bool, dark);
        QFETCH(int, year);
        QApplication::setPalette(dark ? darkPalette() : light_);
        TFrmBilanAnnuel window(oldRegister());
        window.selectYear(year);
        window.resize(std::min(window.width(), 1024), std::min(window.height(), 740));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        for (const char *name : {"grilleBeneficiaires", "grilleSpecialites", "grilleRetenues"}) {
            auto *table = window.findChild<QTableWidget *>(QLatin1String(name));
            // Every column in sight, "Reste à charge" included, and the names whole.
            QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
            const int last = table->columnCount() - 1;
            QVERIFY(table->horizontalHeader()->sectionViewportPosition(last) +
                        table->horizontalHeader()->sectionSize(last) <=
                    table->viewport()->width());
            for (int r = 0; r < table->rowCount(); ++r) {
                const QString name = table->item(r, 0)->text();
                QVERIFY2(table->columnWidth(0) >= table->fontMetrics().horizontalAdvance(name),
                         qPrintable(name));
            }
            // No empty rows below the last one while there is no scroll bar.
            if (table->verticalScrollBar()->maximum() == 0)
                QVERIFY(table->viewport()->height() <
                        table->rowViewportPosition(table->rowCount() - 1) +
                            2 * table->rowHeight(0));
        }
        save(window, QStringLiteral("bilan-%1-%2")
                         .arg(dark ? QStringLiteral("sombre") : QStringLiteral("clair"))
                         .arg(year == 0 ? QStringLiteral("toutes") : QString::number(year)));
    }
};

QTEST_MAIN(TestFollowUpWindows)
#include "test_follow_up_windows.moc"
