#include "support/FileBytes.h"
#include "support/FolderSnapshot.h"
#include "support/PdfTools.h"
#include "support/ThrownMessage.h"

#include "platform/core/Today.h"
#include "proofview/DossierContent.h"
#include "proofview/MutualDossier.h"

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// A PDF whose page i says `words[i]`.
QString makePdf(const QString &path, const QStringList &words)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&pdf);
    for (int i = 0; i < words.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 24));
        painter.drawText(QRect(0, 0, pdf.width(), pdf.height() / 4), Qt::AlignCenter, words[i]);
    }
    painter.end();
    return path;
}

QString makeImage(const QString &path, const QColor &colour, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

CareFacts care(const QDate &date, const QString &beneficiary, const QString &doctor, qint64 cost,
               qint64 cpam)
{
    CareFacts facts;
    facts.date = date;
    facts.beneficiary = beneficiary;
    facts.doctor = doctor;
    facts.cost = cost;
    facts.cpam = cpam;
    facts.cpamPaid = cpam != 0;
    if (facts.cpamPaid)
        facts.cpamDate = date.addDays(12);
    return facts;
}

// The colour in the middle of page `page`, drawn small by pdftoppm.
QColor middleOf(const QString &pdf, int page, const QString &folder)
{
    const QString prefix = QDir(folder).filePath(QStringLiteral("page"));
    PdfTools::run(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-f"),
                   QString::number(page), QStringLiteral("-l"), QString::number(page),
                   QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
    const QImage image(prefix + QStringLiteral(".png"));
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 3);
}

} // namespace

class TestMutualDossier : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }

    // Two cares with proofs (a two-page bill, then a photo) around one without.
    DossierContent sample()
    {
        DossierContent content;
        content.insured = {QStringLiteral("MARTIN Paul, n° 1850575123456-12")};
        content.mutual = {QStringLiteral("Mutuelle Générale de l'Ouest"),
                          QStringLiteral("12 rue des Lilas 44000 Nantes"),
                          QStringLiteral("02 40 00 00 00"), QStringLiteral("A-778899"),
                          QStringLiteral("Virement")};
        content.cares.push_back(
            {care(QDate(2026, 3, 2), QStringLiteral("PAUL"), QStringLiteral("DR OSTEO"), 6000, 0),
             {{makePdf(path(QStringLiteral("bill.pdf")),
                       {QStringLiteral("FACTUREUN"), QStringLiteral("FACTUREDEUX")}),
               QStringLiteral("Facture ostéopathe.pdf")}}});
        content.cares.push_back({care(QDate(2026, 3, 9), QStringLiteral("LUCIE"),
                                      QStringLiteral("DR GENERALISTE"), 2650, 1855),
                                 {}});
        content.cares.push_back(
            {care(QDate(2026, 4, 1), QStringLiteral("LUCIE"), QStringLiteral("OPTIQUE DU PORT"),
                  42000, 900),
             {{makeImage(path(QStringLiteral("quote.png")), Qt::red, QSize(300, 200)),
               QStringLiteral("Devis lunettes.png")}}});
        return content;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        Today::pinForTesting(QDate(2026, 5, 20));
    }

    void cleanup() { MutualDossier::failAfterStepForTesting(0); }

    void coverThenEveryProofInOrder()
    {
        const QString out = path(QStringLiteral("dossier.pdf"));
        const int pages = MutualDossier::write(out, sample());
        QCOMPARE(pages, 4);
        QCOMPARE(PdfTools::pageCount(out), 4);
        const QStringList text = PdfTools::text(out).split(QLatin1Char('\f'));
        const QString &cover = text.value(0);
        for (const char *expected :
             {"Demande de remboursement", "Établie le 20/05/2026", "Mutuelle Générale de l'Ouest",
              "Numéro d'assuré : A-778899", "MARTIN Paul", "DR OSTEO", "DR GENERALISTE",
              "OPTIQUE DU PORT", "18,55", "21/03/26", "506,50", "2 pièces justificatives"})
            QVERIFY2(cover.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(text.value(1).contains(QStringLiteral("FACTUREUN")));
        QVERIFY(text.value(2).contains(QStringLiteral("FACTUREDEUX")));
        // The photo fills its own page, in its colours.
        const QColor middle = middleOf(out, 4, dir_.path());
        QVERIFY2(middle.red() > 200 && middle.green() < 60, qPrintable(middle.name()));
    }

    void longListGoesOnOverPages()
    {
        DossierContent content = sample();
        const DossierContent::Care extra = content.cares[1];
        for (int i = 0; i < 80; ++i)
            content.cares.push_back(extra);
        const QString out = path(QStringLiteral("long.pdf"));
        const int pages = MutualDossier::write(out, content);
        QVERIFY(pages >= 5);
        const QStringList text = PdfTools::text(out).split(QLatin1Char('\f'));
        // The table's titles again on the page it continues on; the bill after the cover.
        QVERIFY(text.value(1).contains(QStringLiteral("Bénéficiaire")));
        QVERIFY(text.value(pages - 3).contains(QStringLiteral("FACTUREUN")));
    }

    void stoppedAtAnyStepLeavesTheFormerFile()
    {
        const DossierContent content = sample();
        const QString out = path(QStringLiteral("former.pdf"));
        FileBytes::put(out, "former dossier");
        const FolderSnapshot::Files before = FolderSnapshot::of(dir_.path());
        const int steps = MutualDossier::steps(content);
        QCOMPARE(steps, 4); // the photo drawn, two proofs placed, the file written
        for (int step = 1; step <= steps; ++step) {
            MutualDossier::failAfterStepForTesting(step);
            QVERIFY(thrownMessage([&] { MutualDossier::write(out, content); }) !=
                    QStringLiteral("<none>"));
            QVERIFY2(FolderSnapshot::of(dir_.path()) == before, qPrintable(QString::number(step)));
        }
        MutualDossier::failAfterStepForTesting(0);
        QCOMPARE(MutualDossier::write(out, content), 4);
    }

    void proofGoneOrDamagedIsNamed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("gone") << QByteArray();
        QTest::newRow("damaged PDF") << QByteArray("%PDF-1.4\nnot really\n%%EOF\n");
        QTest::newRow("damaged picture") << QByteArray("\x89PNG\r\n\x1a\nbroken");
    }
    void proofGoneOrDamagedIsNamed()
    {
        QFETCH(QByteArray, bytes);
        DossierContent content = sample();
        const QString proof = path(QStringLiteral("damaged"));
        QFile::remove(proof);
        if (!bytes.isEmpty())
            FileBytes::put(proof, bytes);
        content.cares[1].proofs.push_back({proof, QStringLiteral("Décompte CPAM")});
        const QString out = path(QStringLiteral("refused.pdf"));
        QFile::remove(out);
        const QString message = thrownMessage([&] { MutualDossier::write(out, content); });
        QVERIFY2(message.contains(QStringLiteral("« Décompte CPAM »")), qPrintable(message));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestMutualDossier)
#include "test_mutual_dossier.moc"
