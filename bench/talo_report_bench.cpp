// Times the care list report of a register: its first page laid out alone (what the preview
// waits for), every page laid out at once, and the whole report written to a PDF file, each
// page painted as it is laid out (best of 3).
#include "BenchRegister.h"

#include "platform/report/LazyReportPages.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/report/TableReportSource.h"
#include "register/PlainSelectors.h"
#include "reports/TFrmListeTalo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPageSize>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>

namespace
{

// Wall and processor time, best of 3: on a shared machine the processor time tells the cost.
struct Times {
    double wall = 1e9, cpu = 1e9;
};

Times bestOf3(const std::function<void()> &work)
{
    Times best;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        work();
        best.cpu = std::min(best.cpu, double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        best.wall = std::min(best.wall, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

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
    TableReportSource source(form.tableTalo());
    const ReportDefinition &report = form.quickReport();
    const ReportPageGeometry a4{QPageSize(QPageSize::A4)};

    int pages = 0;
    const Times firstPage = bestOf3([&] {
        LazyReportPages lazy(report, source, a4);
        lazy.page(0);
        pages = lazy.count();
    });
    const Times layout = bestOf3([&] { ReportLayout::run(report, source, a4); });
    const Times pdf =
        bestOf3([&] { ReportPdfWriter::write(dir.filePath("liste.pdf"), report, source, a4); });
    std::printf("| care list, ms wall / processor | entries | pages | first page alone "
                "| every page laid out | PDF file |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    std::printf("| best of 3 | %d | %d | %.0f / %.0f | %.0f / %.0f | %.0f / %.0f |\n", rows, pages,
                firstPage.wall, firstPage.cpu, layout.wall, layout.cpu, pdf.wall, pdf.cpu);
    return 0;
}
