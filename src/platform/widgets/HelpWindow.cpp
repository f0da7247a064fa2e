#include "HelpWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include "Glyphs.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace
{

QToolButton *makeButton(QWidget *parent, const char *name, const QString &text, Glyphs::Id glyph)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setIcon(Glyphs::icon(glyph));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Aide de Talo 3.0"));
    setWindowIcon(Glyphs::icon(Glyphs::Id::Help));
    resize(660, 560);

    btnSommaire_ = makeButton(this, "btnSommaire", QStringLiteral("Sommaire"), Glyphs::Id::Help);
    btnPrecedent_ =
        makeButton(this, "btnPrecedent", QStringLiteral("Précédent"), Glyphs::Id::Prior);
    btnSuivant_ = makeButton(this, "btnSuivant", QStringLiteral("Suivant"), Glyphs::Id::Next);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(10);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 4, 4, 0);
    buttons->addWidget(btnSommaire_);
    buttons->addWidget(btnPrecedent_);
    buttons->addWidget(btnSuivant_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(btnSommaire_, &QToolButton::clicked, this, &HelpWindow::showContentsPage);
    connect(btnPrecedent_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(btnSuivant_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::historyChanged, this, &HelpWindow::updateButtons);
    updateButtons();
    browser_->setFocus();
}

void HelpWindow::open(const QString &file, const QString &anchor)
{
    QUrl url = QUrl::fromLocalFile(file);
    const bool newFile = file != file_;
    if (newFile) {
        browser_->setSource(url, QTextDocument::HtmlResource);
        file_ = file;
    }
    // An anchor the document lacks would leave the view wherever it was: show the top instead.
    if (hasAnchor(anchor))
        url.setFragment(anchor);
    browser_->setSource(url, QTextDocument::HtmlResource);
    if (url.hasFragment()) {
        browser_->scrollToAnchor(anchor);
    } else {
        browser_->horizontalScrollBar()->setValue(0);
        browser_->verticalScrollBar()->setValue(0);
    }
    if (newFile)
        browser_->clearHistory();
    updateButtons();
}

QString HelpWindow::currentAnchor() const
{
    return browser_->source().fragment();
}

bool HelpWindow::hasAnchor(const QString &anchor) const
{
    return !anchor.isEmpty() && anchorNames(browser_->document()).contains(anchor);
}

QStringList HelpWindow::anchorNames(const QTextDocument *document)
{
    QStringList names;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            for (const QString &name : fragment.charFormat().anchorNames()) {
                if (!names.contains(name))
                    names.append(name);
            }
        }
    }
    return names;
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::placeOnScreen(bool centre)
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before the window manager has framed the window its frame is unknown: allow a title bar.
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(
        inner.left() - outer.left(),
        std::max(inner.top() - outer.top(), style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4),
        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QRect room = area.marginsRemoved(frame);
    QRect placed(inner.topLeft(), inner.size().boundedTo(room.size()));
    if (centre)
        placed.moveCenter(room.center());
    placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), room.top(), room.bottom() - placed.height() + 1));
    if (placed != inner)
        setGeometry(placed);
}

void HelpWindow::showContentsPage()
{
    if (!file_.isEmpty())
        open(file_, QStringLiteral("contents"));
}

void HelpWindow::updateButtons()
{
    btnPrecedent_->setEnabled(browser_->isBackwardAvailable());
    btnSuivant_->setEnabled(browser_->isForwardAvailable());
}
