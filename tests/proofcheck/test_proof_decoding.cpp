#include "support/FileBytes.h"
#include "support/ProofSamples.h"
#include "support/ThrownMessage.h"

#include "proofcheck/ProofDecoding.h"
#include "proofcheck/ProofReadService.h"
#include "proofs/ProofReadProcess.h"
#include "proofs/ProofStore.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

namespace
{

QByteArray imageBytes(const char *format)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(10, 10, 20, 20, Qt::yellow);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

QByteArray pdfBytes()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        painter.drawRect(100, 100, 2000, 1000);
    }
    return buffer.data();
}

// A real PNG whose header announces another size, its checksum made right again: what an
// image bomb looks like before it is decoded.
QByteArray pngAnnouncing(quint32 width, quint32 height)
{
    QByteArray png = imageBytes("PNG");
    const auto put32 = [&png](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
    };
    put32(16, width); // IHDR data starts at 16: signature 8, length 4, type 4
    put32(20, height);
    const auto crc = crc32(0, reinterpret_cast<const Bytef *>(png.constData() + 12), 17);
    put32(29, quint32(crc));
    return png;
}

} // namespace

class TestProofDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readableFilesPass_data();
    void readableFilesPass();
    void imageBombIsNotDecoded();
    void damagedFilesAreRefusedInFrench_data();
    void damagedFilesAreRefusedInFrench();
    void childProcessVerdicts();
};

void TestProofDecoding::readableFilesPass_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::newRow("pdf") << pdfBytes() << int(ProofKind::Pdf);
    QTest::newRow("png") << imageBytes("PNG") << int(ProofKind::Png);
    QTest::newRow("jpeg") << imageBytes("JPEG") << int(ProofKind::Jpeg);
}

void TestProofDecoding::readableFilesPass()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = ProofSamples::write(dir.path(), "piece", bytes);
    QCOMPARE(ProofDecoding::problem(path, ProofKind(kind)), QString());
    QCOMPARE(ProofKinds::of(bytes.left(16), bytes.right(1024)), std::optional(ProofKind(kind)));
}

void TestProofDecoding::imageBombIsNotDecoded()
{
    QTemporaryDir dir;
    const QString path =
        ProofSamples::write(dir.path(), "bombe.png", pngAnnouncing(100000, 100000));
    const QString why = ProofDecoding::problem(path, ProofKind::Png);
    QVERIFY2(why.contains("100000 × 100000") && why.contains("trop"), qPrintable(why));
}

// Truncations and byte flips of valid files, taken through the whole attachment with the
// decoders in this process: no crash, and every refusal a French sentence naming the file.
void TestProofDecoding::damagedFilesAreRefusedInFrench_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QList<std::pair<const char *, QByteArray>> samples{
        {"pdf", pdfBytes()}, {"png", imageBytes("PNG")}, {"jpeg", imageBytes("JPEG")}};
    QRandomGenerator random(20261209);
    for (const auto &[name, valid] : samples) {
        for (int i = 1; i <= 12; ++i) {
            const int cut = int(qint64(valid.size()) * i / 13);
            QTest::addRow("%s coupé à %d", name, cut) << valid.left(cut);
        }
        for (int i = 0; i < 40; ++i) {
            QByteArray damaged = valid;
            for (int flips = 1 + random.bounded(4); flips > 0; --flips)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            QTest::addRow("%s abîmé %d", name, i) << damaged;
        }
    }
}

void TestProofDecoding::damagedFilesAreRefusedInFrench()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir program;
    ProofSamples::makeRegister(program.path(), 1);
    const QString path = ProofSamples::write(program.path(), "reçu.bin", bytes);
    ProofStore store(program.path(), ProofDecoding::problem);
    const QString message = thrownMessage([&] { store.attach(1, {path}); });
    if (message == "<none>") {
        QCOMPARE(store.proofsOf(1).size(), size_t(1));
        return;
    }
    QVERIFY2(message.startsWith("Le fichier " + path + " ne peut pas être joint : "),
             qPrintable(message));
    QVERIFY(store.proofsOf(1).empty());
}

void TestProofDecoding::childProcessVerdicts()
{
    QTemporaryDir dir;
    const QString good = ProofSamples::write(dir.path(), "bon.png", imageBytes("PNG"));
    const QString bomb = ProofSamples::write(dir.path(), "bombe.png", pngAnnouncing(90000, 90000));
    const ProofCheck check = ProofReadProcess::check();
    QCOMPARE(check(good, ProofKind::Png), QString());
    QVERIFY(check(bomb, ProofKind::Png).contains("90000 × 90000"));

    // A reader that crashes or never ends refuses the file; the program goes on.
    const QString crash = ProofSamples::write(dir.path(), "crash.sh", "#!/bin/sh\nkill -SEGV $$\n");
    const QString hang = ProofSamples::write(dir.path(), "hang.sh", "#!/bin/sh\nexec sleep 30\n");
    for (const QString &script : {crash, hang})
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QVERIFY(ProofReadProcess::check(crash)(good, ProofKind::Png).contains("a échoué"));
    ProofReadProcess::setTimeLimitForTesting(300);
    QVERIFY(ProofReadProcess::check(hang)(good, ProofKind::Png).contains("ne s'est pas terminée"));
    ProofReadProcess::setTimeLimitForTesting(30000);
}

int main(int argc, char *argv[])
{
    // This program is also the reader ProofReadProcess starts.
    if (const std::optional<int> status = ProofReadService::serveIfAsked(argc, argv))
        return *status;
    QGuiApplication app(argc, argv);
    TestProofDecoding test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_proof_decoding.moc"
