#include "reports/TFrmListeMedecins.h"
#include "reports/TFrmListeTalo.h"

#include "platform/core/PlatformMessages.h"
#include "platform/core/Today.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ReportCommand.h"
#include "register/PlainSelectors.h"

#include "PrivateCupsServer.h"
#include "ReportFiles.h"
#include "support/PdfTools.h"

#include <QDateTime>
#include <QLocale>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

const QString queueName = QStringLiteral("PDF");
const QString pdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString pdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");

// Where cups-pdf writes this user's jobs: its `Out` setting, default /var/spool/cups-pdf/${USER}.
// cups-pdf takes the home folder from the user database, not from the environment.
QString cupsPdfOutputFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &raw : conf.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QLatin1String("Out ")) || line.startsWith(QLatin1String("Out\t")))
                out = line.mid(4).trimmed();
        }
    }
    if (const passwd *user = ::getpwuid(::geteuid())) {
        out.replace(QLatin1String("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
        out.replace(QLatin1String("${USER}"), QString::fromLocal8Bit(user->pw_name));
    }
    return out;
}

// Saves an environment variable and puts it back on destruction.
class EnvironmentVariable
{
public:
    explicit EnvironmentVariable(const char *name)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name))
    {
    }
    ~EnvironmentVariable()
    {
        if (wasSet_)
            qputenv(name_, value_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool wasSet_;
    QByteArray value_;
};

} // namespace

// Printing for real: both reports through the print command to a cups-pdf queue that is the
// default printer of a print server of the test's own, then the jobs' PDF files counted page
// by page. cups-pdf rebuilds the PDF, so only the page count can be checked, not the text.
class TestCupsPrint : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    PrivateCupsServer server_;
    std::unique_ptr<EnvironmentVariable> cupsServer_, home_, lpDest_, printer_;
    QString outputFolder_;
    QSet<QString> seenJobs_;

    // The PDF file of the job sent since `since`, once cups-pdf has finished writing it.
    QString waitForJobFile(const QDateTime &since)
    {
        QElapsedTimer clock;
        clock.start();
        QHash<QString, qint64> sizes;
        while (clock.elapsed() < 120000) {
            const QFileInfoList files =
                QDir(outputFolder_).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files);
            for (const QFileInfo &file : files) {
                const QString path = file.absoluteFilePath();
                if (seenJobs_.contains(path) || file.lastModified() < since.addSecs(-2))
                    continue;
                // Complete when its size holds between two looks and pdfinfo can read it.
                if (sizes.value(path, -1) == file.size() && file.size() > 0 &&
                    PdfTools::pageCount(path) > 0) {
                    seenJobs_.insert(path);
                    return path;
                }
                sizes.insert(path, file.size());
            }
            QTest::qWait(250);
        }
        return {};
    }

    // The doctors list through the print command, as its button runs it; true when sent.
    // `fileSizeLimit`: while it prints, no file of this process may grow beyond it.
    bool printDoctorsList(rlim_t fileSizeLimit = RLIM_INFINITY)
    {
        const QString data = dir_.filePath(QStringLiteral("data"));
        Table addressBook(DoctorTable::definition());
        addressBook.setDatabaseName(data);
        addressBook.open();
        TFrmListeMedecins form;
        form.open(data);
        Dialogs::clearShown();
        return ReportCommand::run(nullptr, addressBook, [&] {
            rlimit before{};
            ::getrlimit(RLIMIT_FSIZE, &before);
            rlimit limited = before;
            limited.rlim_cur = std::min(fileSizeLimit, before.rlim_max);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not death
            ::setrlimit(RLIMIT_FSIZE, &limited);
            const auto restore = qScopeGuard([&] {
                ::setrlimit(RLIMIT_FSIZE, &before);
                std::signal(SIGXFSZ, oldHandler);
            });
            form.print();
        });
    }

    QString diagnosis() { return server_.jobs() + QLatin1Char('\n') + server_.errorLog(); }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("Printing through a print server of the test's own needs root (cupsd and "
                  "its cups-pdf backend run as root); CI runs this test as root.");
        QVERIFY2(QFile::exists(pdfPpd) && QFile::exists(pdfBackend),
                 "cups-pdf is missing: scripts/setup.sh installs printer-driver-cups-pdf");
        QVERIFY(dir_.isValid());
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Today::pinForTesting(QDate(2026, 3, 5));
        Dialogs::startScripting();

        // Every CUPS client of this process, Qt's print support included, talks to our server
        // only, and no user or environment setting picks another default printer.
        cupsServer_ = std::make_unique<EnvironmentVariable>("CUPS_SERVER");
        home_ = std::make_unique<EnvironmentVariable>("HOME");
        lpDest_ = std::make_unique<EnvironmentVariable>("LPDEST");
        printer_ = std::make_unique<EnvironmentVariable>("PRINTER");
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("home")));
        qputenv("CUPS_SERVER", QFile::encodeName(dir_.filePath(QStringLiteral("cups/cups.sock"))));
        qputenv("HOME", QFile::encodeName(dir_.filePath(QStringLiteral("home"))));
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");

        // The print filters run as the unprivileged user lp and must reach the server's folder.
        QVERIFY(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ExeGroup |
                                                       QFile::ExeOther));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("cups")));
        const QString started = server_.start(dir_.filePath(QStringLiteral("cups")));
        QVERIFY2(started.isEmpty(), qPrintable(started));
        const QString added = server_.addPdfQueue(queueName, pdfPpd);
        QVERIFY2(added.isEmpty(), qPrintable(added));

        // Qt must see the new queue as the default printer before anything prints.
        QString found;
        for (int i = 0; i < 100 && found != queueName; ++i) {
            found = QPrinterInfo::defaultPrinter().printerName();
            if (found != queueName)
                QTest::qWait(100);
        }
        QVERIFY2(found == queueName,
                 qPrintable(QStringLiteral("default printer seen by Qt: '%1', printers: %2")
                                .arg(found, QPrinterInfo::availablePrinterNames().join(", "))));

        outputFolder_ = cupsPdfOutputFolder();
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("data")));
        QVERIFY(ReportFiles::createEmpty(dir_.filePath(QStringLiteral("data"))));
    }

    void cleanupTestCase()
    {
        if (server_.isRunning()) {
            const QString removed = server_.removeQueue(queueName);
            server_.stop();
            QVERIFY2(removed.isEmpty(), qPrintable(removed));
        }
        QVERIFY(!server_.isRunning());
        for (const QString &job : std::as_const(seenJobs_))
            QFile::remove(job);
        printer_.reset();
        lpDest_.reset();
        home_.reset();
        cupsServer_.reset();
        Dialogs::stopScripting();
        Today::unpin();
    }

    void careListOfSeveralPages()
    {
        const QString data = dir_.filePath(QStringLiteral("data"));
        Table tableTous(CareEntryTable::definition());
        tableTous.setDatabaseName(data);
        tableTous.open();
        for (int n = 1; n <= 100; ++n)
            ReportFiles::addCare(tableTous,
                                 {QDate(1997, 1, 1).addDays(n - 1).toString("dd/MM/yy"), "PIERRE",
                                  QStringLiteral("DR %1").arg(n), "30,00", "21,00", "9,00"});
        PlainSelectors selectors; // TOUS, TOUTES: every entry
        TFrmListeTalo form(selectors);
        form.open(data);

        Dialogs::clearShown();
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY2(ReportCommand::run(nullptr, tableTous, [&] { form.print(); }),
                 qPrintable(Dialogs::shownTexts().join('\n')));
        QVERIFY(Dialogs::shown().isEmpty());

        const QString job = waitForJobFile(since);
        QVERIFY2(!job.isEmpty(),
                 qPrintable(QStringLiteral("no PDF in %1\n%2").arg(outputFolder_, diagnosis())));
        // 100 lines: 40 under the title, then 41 a page on A4 (37 and 38 on Letter).
        QCOMPARE(PdfTools::pageCount(job), 3);
        QVERIFY2(QFileInfo(job).fileName().contains(QStringLiteral("Liste_des_soins")),
                 qPrintable(job));
    }

    void doctorsList()
    {
        const QString data = dir_.filePath(QStringLiteral("data"));
        Table addressBook(DoctorTable::definition());
        addressBook.setDatabaseName(data);
        addressBook.open();
        for (int n = 1; n <= 60; ++n)
            ReportFiles::addDoctor(addressBook, {QStringLiteral("NOM%1").arg(n), "Jean"});
        TFrmListeMedecins form;
        form.open(data);

        Dialogs::clearShown();
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY2(ReportCommand::run(nullptr, addressBook, [&] { form.print(); }),
                 qPrintable(Dialogs::shownTexts().join('\n')));

        const QString job = waitForJobFile(since);
        QVERIFY2(!job.isEmpty(),
                 qPrintable(QStringLiteral("no PDF in %1\n%2").arg(outputFolder_, diagnosis())));
        // 60 lines: 41 under the title, 19 on the second page (39 and 21 on Letter).
        QCOMPARE(PdfTools::pageCount(job), 2);
    }

    // A queue that refuses jobs: the print command tells so, and nothing passes for printed.
    void queueRefusingJobs()
    {
        QString failure = server_.acceptJobs(queueName, false);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const bool printed = printDoctorsList();
        failure = server_.acceptJobs(queueName, true);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(!printed);
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Le document n'a pas pu être envoyé à l'imprimante « PDF » : "
                             "l'imprimante refuse les travaux d'impression."});
    }

    // The document cannot be written whole (a full disk): no truncated job passes for printed.
    void documentNotWrittenWhole()
    {
        const QString jobsBefore = server_.jobs();
        QVERIFY(!printDoctorsList(2048)); // the document's fonts alone are larger
        QCOMPARE(Dialogs::shownTexts().size(), 1);
        QVERIFY2(Dialogs::shownTexts().constFirst().startsWith(
                     "Le document n'a pas pu être envoyé à l'imprimante « PDF » : il n'a pas pu "
                     "être préparé dans le dossier temporaire.\n"),
                 qPrintable(Dialogs::shownTexts().constFirst()));
        QCOMPARE(server_.jobs(), jobsBefore);
    }

    // The server answers but has no queue left: only then "no printer installed".
    void serverWithoutPrinter()
    {
        const QString removed = server_.removeQueue(queueName);
        QVERIFY2(removed.isEmpty(), qPrintable(removed));
        QVERIFY(!printDoctorsList());
        QCOMPARE(Dialogs::shownTexts(), QStringList{PlatformMessages::noPrinter()});
    }

    // Last: the server stopped. Not "no printer installed", which would send the user astray.
    void serverDown()
    {
        server_.stop();
        QVERIFY(!printDoctorsList());
        QCOMPARE(Dialogs::shownTexts(),
                 QStringList{"Le document n'a pas pu être envoyé à l'imprimante : le service "
                             "d'impression ne répond pas (vérifiez qu'il est démarré)."});
    }
};

QTEST_MAIN(TestCupsPrint)
#include "test_cups_print.moc"
