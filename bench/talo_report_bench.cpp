// Times the care list report of a register rendered to a PDF file: laying out the pages from
// the report's own table, then painting them (best of 3).
#include "BenchRegister.h"

#include "platform/report/ReportPageGeometry.h"
#include "platform/report/ReportPdfWriter.h"
#include "register/PlainSelectors.h"
#include "reports/TFrmListeTalo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPageSize>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10'000;
    QTemporaryDir dir;
    BenchRegister::fill(dir.filePath("TALO.DB"), rows);
    PlainSelectors selectors;
    TFrmListeTalo form(selectors);
    form.open(dir.path());
    const ReportPageGeometry a4{QPageSize(QPageSize::A4)};

    double bestLayout = 1e9, bestTotal = 1e9;
    qsizetype pages = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QList<ReportPage> laidOut = form.layOut(a4);
        bestLayout = std::min(bestLayout, double(timer.nsecsElapsed()) / 1e6);
        ReportPdfWriter::write(dir.filePath("liste.pdf"), laidOut, a4, form.quickReport().title);
        bestTotal = std::min(bestTotal, double(timer.nsecsElapsed()) / 1e6);
        pages = laidOut.size();
    }
    std::printf("| care list to PDF | entries | pages | layout (ms) | layout + PDF (ms) |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    std::printf("| best of 3 | %d | %lld | %.0f | %.0f |\n", rows, static_cast<long long>(pages),
                bestLayout, bestTotal);
    return 0;
}
