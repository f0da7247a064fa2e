#pragma once

#include "platform/report/ReportDataSource.h"
#include "platform/report/ReportDefinition.h"
#include "platform/report/ReportPage.h"
#include "platform/report/ReportPageGeometry.h"
#include "platform/report/ReportPages.h"
#include "platform/report/ReportPaintCache.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

// The modal preview of a report: pages rendered by the same painter as print and PDF, paged
// through and zoomed, printed on the default printer or saved as PDF. Our own window rather
// than the toolkit's print preview, because that one needs a printer to exist and speaks
// through texts we do not choose.
class ReportPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    // The help file's section on the preview window, which F1 opens.
    static constexpr int helpContext = 50;

    enum class Fit { Page, Width, None };

    ReportPreviewDialog(std::unique_ptr<ReportPages> pages, const ReportPageGeometry &geometry,
                        const QString &title, QWidget *parent = nullptr);
    ReportPreviewDialog(QList<ReportPage> pages, const ReportPageGeometry &geometry,
                        const QString &title, QWidget *parent = nullptr);

    // Shows the report on the default paper, each page laid out when it is shown; returns when
    // the user closes it. Layout failures throw PlatformError; print and PDF failures are
    // shown in the window.
    static void preview(const ReportDefinition &definition, ReportDataSource &source,
                        QWidget *parent);

    // Test hook replacing the file dialog of "Enregistrer en PDF...": returns the chosen
    // file name, empty for Cancel. An empty function restores the file dialog.
    using FileNameQuery = std::function<QString(QWidget *parent, const QString &suggested)>;
    static void setFileNameQueryForTesting(FileNameQuery query);

    int pageCount() const { return pages_->count(); }
    int currentPage() const { return current_; } // from 0
    qreal zoom() const { return zoom_; }
    Fit fit() const { return fit_; }

    void showPage(int index);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void fitPage();
    void fitWidth();
    void printReport();
    void saveAsPdf();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *addButton(const QString &text, const QString &name,
                           void (ReportPreviewDialog::*slot)());
    void setZoom(qreal zoom);
    qreal fittedZoom() const;
    void render();

    std::unique_ptr<ReportPages> pages_;
    ReportPaintCache paintCache_;
    ReportPageGeometry geometry_;
    QString title_;
    int current_ = 0;
    qreal zoom_ = 1.0;
    Fit fit_ = Fit::Page;

    QScrollArea *scroll_ = nullptr;
    QLabel *image_ = nullptr;
    QLabel *pageLabel_ = nullptr;
    QPushButton *first_ = nullptr;
    QPushButton *previous_ = nullptr;
    QPushButton *next_ = nullptr;
    QPushButton *last_ = nullptr;
};
