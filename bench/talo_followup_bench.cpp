// Times what the user waits for when opening " Suivi des remboursements" and " Bilan annuel"
// from the main window over large registers: the register read, the window built and shown
// and its first paint. Runs on the offscreen platform unless a display is asked for.
#include "BenchRegister.h"

#include "app/ProgramDirectory.h"
#include "app/TFrmPrincipale.h"
#include "followup/TFrmBilanAnnuel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/core/SideFile.h"
#include "platform/store/Table.h"
#include "platform/widgets/Dialogs.h"
#include "register/FollowUpLines.h"
#include "register/YearTotals.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace
{

double bestOf(int runs, const std::function<void()> &open)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        open();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

template <typename Window> void showOnce(Window &window)
{
    window.show();
    QCoreApplication::processEvents();
    window.hide();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Dialogs::startScripting();
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100'000, 1'000'000};

    std::printf("| entries | follow-up lines | follow-up shown (ms) | year summary shown (ms) "
                "| year summary, view filtered (ms) |\n|---:|---:|---:|---:|---:|\n");
    for (int rows : sizes) {
        QTemporaryDir dir;
        ProgramDirectory::provision(dir.path());
        SideFile::writeLines(dir.filePath("LSTBENEF.LST"), {"TOUS", "PAUL", "MARIE"});
        BenchRegister::fill(dir.filePath("TALO.DB"), rows);
        TFrmPrincipale main(dir.path());
        Table &table = main.tableTous();
        size_t lines = 0;
        const auto followUp = [&] {
            TFrmSuiviRemboursements window(
                std::make_shared<const FollowUpLines>(FollowUpLines::readView(table)), QString(),
                &main);
            showOnce(window);
            lines = window.followUp().size();
        };
        const auto yearSummary = [&] {
            TFrmBilanAnnuel window(std::make_shared<const YearTotals>(YearTotals::readAll(table)),
                                   &main);
            showOnce(window);
        };
        followUp(); // fonts, styles and chart plugins load once
        yearSummary();
        const double followUpMs = bestOf(3, followUp);
        const double summaryMs = bestOf(3, yearSummary);
        auto *beneficiaries = main.findChild<QComboBox *>(QStringLiteral("lstListeBeneficiaires"));
        beneficiaries->setCurrentIndex(1);
        main.lstListeBeneficiairesClick();
        const double filteredMs = bestOf(3, yearSummary);
        std::printf("| %d | %zu | %.1f | %.1f | %.1f |\n", rows, lines, followUpMs, summaryMs,
                    filteredMs);
        std::fflush(stdout);
    }
    return 0;
}
