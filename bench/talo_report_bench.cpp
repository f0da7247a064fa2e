// Times the care list report of a register: its first page laid out alone (what the preview
// waits for), every page laid out at once, the whole report written to a PDF file, each page
// written as it is laid out, and the same file saved from the preview (pages laid out as they
// are read, as "Enregistrer en PDF..." and printing do); median of 3. The same file painted
// through the toolkit's PDF engine, as the program once wrote it, is measured in the same run
// for comparison.
#include "BenchRegister.h"

#include "platform/report/LazyReportPages.h"
#include "platform/report/ReportLayout.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/ReportPaginator.h"
#include "platform/report/ReportPaintCache.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPdfWriter.h"
#include "platform/report/TableReportSource.h"
#include "register/PlainSelectors.h"
#include "reports/TFrmListeTalo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace
{

// Wall and processor time, median of 3: on a shared machine the processor time tells the cost.
struct Times {
    double wall = 0, cpu = 0;
};

Times medianOf3(const std::function<void()> &work)
{
    std::vector<double> walls, cpus;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        work();
        cpus.push_back(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        walls.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return Times{walls[1], cpus[1]};
}

// The report painted page by page on the toolkit's PDF engine.
void writeThroughToolkit(const QString &file, const ReportDefinition &report,
                         ReportDataSource &source, const ReportPageGeometry &geometry)
{
    QPdfWriter pdf(file);
    pdf.setResolution(1200);
    pdf.setPageSize(geometry.pageSize());
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    ReportPaintCache cache;
    bool first = true;
    ReportPaginator(report, source, geometry).layOutAll([&](ReportPage &&page) {
        if (!first)
            pdf.newPage();
        first = false;
        ReportPainter::paint(painter, page, pdf.resolution() / 96.0, cache);
    });
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
    const Times firstPage = medianOf3([&] {
        LazyReportPages lazy(report, source, a4);
        lazy.page(0);
        pages = lazy.count();
    });
    const Times layout = medianOf3([&] { ReportLayout::run(report, source, a4); });
    const Times pdf =
        medianOf3([&] { ReportPdfWriter::write(dir.filePath("liste.pdf"), report, source, a4); });
    const Times fromPreview = medianOf3([&] {
        LazyReportPages lazy(report, source, a4);
        ReportPdfWriter::write(dir.filePath("apercu.pdf"), lazy, a4, report.title);
    });
    const Times toolkit =
        medianOf3([&] { writeThroughToolkit(dir.filePath("toolkit.pdf"), report, source, a4); });
    std::printf("| care list, ms wall / processor | entries | pages | first page alone "
                "| every page laid out | PDF file | PDF from the preview | PDF file through the "
                "toolkit's engine |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    std::printf("| median of 3 | %d | %d | %.0f / %.0f | %.0f / %.0f | %.0f / %.0f | %.0f / %.0f "
                "| %.0f / %.0f |\n",
                rows, pages, firstPage.wall, firstPage.cpu, layout.wall, layout.cpu, pdf.wall,
                pdf.cpu, fromPreview.wall, fromPreview.cpu, toolkit.wall, toolkit.cpu);
    return 0;
}
