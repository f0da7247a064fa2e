#include "ProofViewer.h"

#include "ProofViewMessages.h"
#include "ProofsDialog.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

ProofViewer::ProofViewer(const QString &path, const QString &shownName, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder() | Qt::WindowMaximizeButtonHint)
{
    setObjectName(QStringLiteral("TFrmPieceJointe"));
    setWindowTitle(QStringLiteral(" Pièce jointe - %1").arg(shownName));
    // A page's proportions, within the screen (frame and title bar included).
    QSize size(640, 800);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    QFile file(path);
    const bool pdf = file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
    file.close();
    if (pdf) {
        document_ = new QPdfDocument(this);
        if (document_->load(path) != QPdfDocument::Error::None || document_->pageCount() < 1)
            throw PlatformError(ProofViewMessages::unreadable(shownName));
        auto *view = new QPdfView(this);
        view->setObjectName(QStringLiteral("vuePdf"));
        view->setAccessibleName(QStringLiteral("Pages de %1").arg(shownName));
        view->setDocument(document_);
        view->setPageMode(QPdfView::PageMode::MultiPage);
        view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
        column->addWidget(view);
        view->setFocus();
    } else {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        image_ = reader.read();
        if (image_.isNull())
            throw PlatformError(ProofViewMessages::unreadable(shownName));
        picture_ = new QLabel(this);
        picture_->setObjectName(QStringLiteral("vueImage"));
        picture_->setAlignment(Qt::AlignCenter);
        picture_->setMinimumSize(1, 1);
        picture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        picture_->setAccessibleName(QStringLiteral("Image %1").arg(shownName));
        picture_->setFocusPolicy(Qt::StrongFocus);
        column->addWidget(picture_);
        scalePicture();
    }
    Help::addHelpKey(*this, ProofsDialog::helpContext);
    DialogPlacement::centreOnScreen(this);
}

int ProofViewer::pageCount() const
{
    return document_ ? document_->pageCount() : 1;
}

void ProofViewer::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    scalePicture();
}

void ProofViewer::scalePicture()
{
    if (!picture_)
        return;
    const QSize room = picture_->size().boundedTo(image_.size());
    picture_->setPixmap(QPixmap::fromImage(image_.scaled(
        room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
