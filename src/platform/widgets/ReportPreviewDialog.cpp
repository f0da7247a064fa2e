#include "ReportPreviewDialog.h"

#include "CursorOverride.h"
#include "DefaultPrinter.h"
#include "Dialogs.h"
#include "Help.h"
#include "ReportPrinter.h"
#include "ReportProgress.h"
#include "platform/core/PlatformError.h"
#include "platform/report/LazyReportPages.h"
#include "platform/report/ReportPageList.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPdfWriter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace
{

constexpr qreal minZoom = 0.25;
constexpr qreal maxZoom = 4.0;
constexpr qreal zoomStep = 1.25;

ReportPreviewDialog::FileNameQuery &fileNameQuery()
{
    static ReportPreviewDialog::FileNameQuery query;
    return query;
}

QString askFileName(QWidget *parent, const QString &suggested)
{
    if (fileNameQuery())
        return fileNameQuery()(parent, suggested);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer en PDF"), suggested,
                                        QStringLiteral("Documents PDF (*.pdf)"));
}

} // namespace

ReportPreviewDialog::ReportPreviewDialog(QList<ReportPage> pages,
                                         const ReportPageGeometry &geometry, const QString &title,
                                         QWidget *parent)
    : ReportPreviewDialog(std::make_unique<ReportPageList>(std::move(pages)), geometry, title,
                          parent)
{
}

ReportPreviewDialog::ReportPreviewDialog(std::unique_ptr<ReportPages> pages,
                                         const ReportPageGeometry &geometry, const QString &title,
                                         QWidget *parent)
    : QDialog(parent), pages_(std::move(pages)), geometry_(geometry), title_(title)
{
    setObjectName(QStringLiteral("ReportPreviewDialog"));
    setWindowTitle(QStringLiteral(" Aperçu - %1").arg(title));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);

    auto *bar = new QHBoxLayout;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);

    // Navigation and zoom as small icon buttons, so that the bar fits a narrow screen.
    first_ = addButton(QString(), QStringLiteral("btnPremiere"), &ReportPreviewDialog::firstPage);
    previous_ =
        addButton(QString(), QStringLiteral("btnPrecedente"), &ReportPreviewDialog::previousPage);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("etqPage"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setMinimumWidth(110);
    next_ = addButton(QString(), QStringLiteral("btnSuivante"), &ReportPreviewDialog::nextPage);
    last_ = addButton(QString(), QStringLiteral("btnDerniere"), &ReportPreviewDialog::lastPage);
    const std::tuple<QPushButton *, QStyle::StandardPixmap, const char *> icons[] = {
        {first_, QStyle::SP_MediaSkipBackward, "Première page"},
        {previous_, QStyle::SP_MediaSeekBackward, "Page précédente"},
        {next_, QStyle::SP_MediaSeekForward, "Page suivante"},
        {last_, QStyle::SP_MediaSkipForward, "Dernière page"},
    };
    for (const auto &[button, icon, tip] : icons) {
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(QString::fromUtf8(tip));
    }
    bar->addWidget(first_);
    bar->addWidget(previous_);
    bar->addWidget(pageLabel_);
    bar->addWidget(next_);
    bar->addWidget(last_);
    bar->addSpacing(16);
    QPushButton *zoomOutButton = addButton(QStringLiteral("-"), QStringLiteral("btnZoomMoins"),
                                           &ReportPreviewDialog::zoomOut);
    zoomOutButton->setToolTip(QStringLiteral("Zoom arrière"));
    QPushButton *zoomInButton =
        addButton(QStringLiteral("+"), QStringLiteral("btnZoomPlus"), &ReportPreviewDialog::zoomIn);
    zoomInButton->setToolTip(QStringLiteral("Zoom avant"));
    for (QPushButton *button : {first_, previous_, next_, last_, zoomOutButton, zoomInButton}) {
        button->setMaximumWidth(button->sizeHint().height() * 2);
        button->setAccessibleName(button->toolTip()); // a glyph or a sign says nothing aloud
    }
    bar->addWidget(zoomOutButton);
    bar->addWidget(zoomInButton);
    bar->addWidget(addButton(QStringLiteral("&Page entière"), QStringLiteral("btnPageEntiere"),
                             &ReportPreviewDialog::fitPage));
    bar->addWidget(addButton(QStringLiteral("&Largeur de page"), QStringLiteral("btnLargeur"),
                             &ReportPreviewDialog::fitWidth));
    bar->addStretch();
    bar->addWidget(addButton(QStringLiteral("&Imprimer"), QStringLiteral("btnImprimer"),
                             &ReportPreviewDialog::printReport));
    bar->addWidget(addButton(QStringLiteral("&Enregistrer en PDF..."), QStringLiteral("btnPdf"),
                             &ReportPreviewDialog::saveAsPdf));
    QPushButton *close = addButton(QStringLiteral("&Fermer"), QStringLiteral("btnFermer"),
                                   &ReportPreviewDialog::reject);
    bar->addWidget(close);
    close->setDefault(true);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("zonePage"));
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidgetResizable(true);
    image_ = new QLabel;
    image_->setObjectName(QStringLiteral("etqImage"));
    image_->setAlignment(Qt::AlignCenter);
    scroll_->setWidget(image_);
    layout->addWidget(scroll_, 1);

    const std::pair<QKeySequence, void (ReportPreviewDialog::*)()> keys[] = {
        {QKeySequence(Qt::Key_PageDown), &ReportPreviewDialog::nextPage},
        {QKeySequence(Qt::Key_PageUp), &ReportPreviewDialog::previousPage},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), &ReportPreviewDialog::firstPage},
        {QKeySequence(Qt::CTRL | Qt::Key_End), &ReportPreviewDialog::lastPage},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), &ReportPreviewDialog::zoomIn},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), &ReportPreviewDialog::zoomOut},
    };
    for (const auto &[key, slot] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    Help::addHelpKey(*this, helpContext);

    QSize size(980, 1040);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    showPage(0);
}

void ReportPreviewDialog::preview(const ReportDefinition &definition, ReportDataSource &source,
                                  QWidget *parent)
{
    const ReportPageGeometry geometry = DefaultPrinter::pageGeometry();
    ReportPreviewDialog dialog(std::make_unique<LazyReportPages>(definition, source, geometry),
                               geometry, definition.title, parent);
    // The normal cursor while the preview is open, whatever the caller has set around the
    // call; the caller's comes back when it closes.
    const CursorOverride arrow(Qt::ArrowCursor, CursorOverride::When::OverAnother);
    dialog.exec();
}

void ReportPreviewDialog::setFileNameQueryForTesting(FileNameQuery query)
{
    fileNameQuery() = std::move(query);
}

QPushButton *ReportPreviewDialog::addButton(const QString &text, const QString &name,
                                            void (ReportPreviewDialog::*slot)())
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void ReportPreviewDialog::showPage(int index)
{
    current_ = qBound(0, index, qMax(0, pageCount() - 1));
    pageLabel_->setText(QStringLiteral("Page %1 sur %2").arg(current_ + 1).arg(pageCount()));
    first_->setEnabled(current_ > 0);
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < pageCount());
    last_->setEnabled(current_ + 1 < pageCount());
    render();
    scroll_->verticalScrollBar()->setValue(0);
}

void ReportPreviewDialog::firstPage()
{
    showPage(0);
}

void ReportPreviewDialog::previousPage()
{
    showPage(current_ - 1);
}

void ReportPreviewDialog::nextPage()
{
    showPage(current_ + 1);
}

void ReportPreviewDialog::lastPage()
{
    showPage(pageCount() - 1);
}

void ReportPreviewDialog::zoomIn()
{
    fit_ = Fit::None;
    setZoom(zoom_ * zoomStep);
}

void ReportPreviewDialog::zoomOut()
{
    fit_ = Fit::None;
    setZoom(zoom_ / zoomStep);
}

void ReportPreviewDialog::fitPage()
{
    fit_ = Fit::Page;
    setZoom(fittedZoom());
}

void ReportPreviewDialog::fitWidth()
{
    fit_ = Fit::Width;
    setZoom(fittedZoom());
}

void ReportPreviewDialog::setZoom(qreal zoom)
{
    zoom_ = qBound(minZoom, zoom, maxZoom);
    render();
}

qreal ReportPreviewDialog::fittedZoom() const
{
    const QSizeF page = geometry_.pagePixels();
    // Room for a frame around the page and for the vertical scroll bar of a wide page.
    const QSize room = scroll_->viewport()->size() - QSize(24, 24);
    const qreal byWidth = room.width() / page.width();
    if (fit_ == Fit::Width)
        return byWidth - scroll_->verticalScrollBar()->sizeHint().width() / page.width();
    return qMin(byWidth, room.height() / page.height());
}

void ReportPreviewDialog::render()
{
    if (pageCount() == 0)
        return;
    if (fit_ != Fit::None)
        zoom_ = qBound(minZoom, fittedZoom(), maxZoom);
    const qreal ratio = devicePixelRatioF();
    QImage image = ReportPainter::image(pages_->page(current_), geometry_.pagePixels(),
                                        zoom_ * ratio, paintCache_);
    image.setDevicePixelRatio(ratio);
    image_->setPixmap(QPixmap::fromImage(image));
}

void ReportPreviewDialog::printReport()
{
    try {
        const CursorOverride hourglass(Qt::WaitCursor);
        ReportPrinter::print(*pages_, geometry_, title_);
    } catch (const PlatformError &error) {
        Dialogs::error(this, error.message());
    }
}

void ReportPreviewDialog::saveAsPdf()
{
    const QString suggested = QDir::home().filePath(title_ + QStringLiteral(".pdf"));
    QString fileName = askFileName(this, suggested);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty()) {
        fileName += QStringLiteral(".pdf");
        // The file dialog asked about overwriting the name without its suffix.
        if (QFileInfo::exists(fileName) &&
            !Dialogs::question(this, QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le "
                                                    "remplacer ?")
                                         .arg(QDir::toNativeSeparators(fileName))))
            return;
    }
    try {
        const CursorOverride hourglass(Qt::WaitCursor);
        // Annuler leaves no file, and any older file of that name as it was.
        ReportProgress progress(ReportProgress::Kind::Pdf, this);
        ReportPdfWriter::write(fileName, *pages_, geometry_, title_, [&](int written, int count) {
            return progress.progress(written, count);
        });
    } catch (const PlatformError &error) {
        Dialogs::error(this, error.message());
    }
}

void ReportPreviewDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (fit_ != Fit::None)
        render();
}

void ReportPreviewDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    render();
}
