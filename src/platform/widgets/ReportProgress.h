#pragma once

#include <QString>

#include <memory>

class LongWork;
class QWidget;

// The long work of a report written page by page (a PDF file, a print job), told by page
// ("Écriture du PDF : page 12 sur 163") on a LongWork bar, with "Annuler". Its progress() is
// what ReportPdfWriter calls after each page, on the windows' thread: the pages read the
// bound tables.
class ReportProgress
{
public:
    enum class Kind { Pdf, Print };

    // `parent` may be null: the active window then owns the bar. Throws PlatformError while
    // another long work runs.
    ReportProgress(Kind kind, QWidget *parent);
    ~ReportProgress();
    ReportProgress(const ReportProgress &) = delete;
    ReportProgress &operator=(const ReportProgress &) = delete;

    // After page `written` of `count` (0 while unknown): false once the user chose Annuler.
    bool progress(int written, int count);

    // "Écriture du PDF : page 12 sur 163" and the like.
    static QString label(Kind kind, int page, int count);

private:
    Kind kind_;
    std::unique_ptr<LongWork> work_;
};
