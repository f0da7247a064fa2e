#pragma once

#include "CursorOverride.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class QProgressDialog;
class QWidget;

// The progress bar of a long report written page by page (a PDF file, a print job): shown
// only once the work has taken a second, telling the page ("Écriture du PDF : page 12 sur
// 163"), with Annuler. Its progress() is what ReportPdfWriter calls after each page.
class ReportProgress
{
public:
    enum class Kind { Pdf, Print };

    // `parent` may be null: the active window then owns the bar.
    ReportProgress(Kind kind, QWidget *parent);
    ~ReportProgress();
    ReportProgress(const ReportProgress &) = delete;
    ReportProgress &operator=(const ReportProgress &) = delete;

    // After page `written` of `count` (0 while unknown): false once the user chose Annuler.
    bool progress(int written, int count);

    // "Écriture du PDF : page 12 sur 163" and the like.
    static QString label(Kind kind, int page, int count);

    // Test hook: how long the work runs before the bar shows (a second by default; negative
    // restores it).
    static void setShowDelayForTesting(int milliseconds);
    // The bar shown at present, for tests; null when there is none.
    static QProgressDialog *current();

private:
    Kind kind_;
    QPointer<QWidget> parent_;
    std::unique_ptr<QProgressDialog> dialog_;
    // The arrow over the bar, so that Annuler does not look out of reach under the hourglass.
    std::optional<CursorOverride> arrow_;
};
