#include "EntryPages.h"

#include "CpamPage.h"
#include "MutuellePage.h"
#include "ProofCorner.h"
#include "SoinsPage.h"

#include "platform/store/Table.h"
#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/ReadableText.h"
#include "tables/CareEntryTable.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>

namespace
{

// The caret enters a date field as by the keyboard, the whole text selected so that typing
// replaces it; a field that already had the focus gets no focus event, so it is selected here
// (the record it shows may just have changed under it).
void enterField(DBEdit *field)
{
    const bool had = field->hasFocus();
    field->setFocus(Qt::OtherFocusReason);
    if (had)
        field->selectAll();
}

// The local files a drag carries; none when it holds anything else.
QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

EntryPages::EntryPages(Table &tableTous, QWidget *parent) : QTabWidget(parent), table_(tableTous)
{
    setObjectName(QStringLiteral("OngletsSaisie"));
    setProperty("helpContext", 25);
    tabBar()->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    // Green labels where the palette lets them be read, a lighter or darker green elsewhere;
    // the style draws the tabs behind the page a shade darker than the window.
    ReadableText::keep(tabBar(), QColor(0, 128, 0), QPalette::WindowText,
                       {QPalette::Window, QPalette::Button}, 125);
    pageSoins = new SoinsPage(tableTous, this);
    pageCPAM = new CpamPage(tableTous, this);
    pageMutuelle = new MutuellePage(tableTous, this);
    addTab(pageSoins, QStringLiteral("Soins"));
    addTab(pageCPAM, QStringLiteral("C.P.A.M."));
    addTab(pageMutuelle, QStringLiteral("Mutuelle"));
    // Two pages share captions ("Montant", "Note"): the description tells which page it is.
    for (int page = 0; page < count(); ++page) {
        for (QWidget *control : widget(page)->findChildren<QWidget *>()) {
            if (!control->accessibleName().isEmpty())
                control->setAccessibleDescription(QStringLiteral("Onglet %1").arg(tabText(page)));
        }
    }
    // The silver of a disabled estimate under the palette's own text colour, made readable.
    ReadableText::keep(pageSoins->DBchpEstimation, QColor(), QPalette::Text, {QPalette::Base});
    setFixedHeight(178);
    connect(tabBar(), &QTabBar::tabBarClicked, this, &EntryPages::OngletsSaisieClick);
    connect(pageSoins->ccMutuellePartiel, &QCheckBox::stateChanged, this,
            &EntryPages::ccMutuellePartielClick);
    connect(pageSoins->ccMutuellePartiel, &DBCheckBox::toggledByUser, this,
            &EntryPages::ccMutuellePartielToggledByUser);
    ccMutuellePartielClick();

    cadrePieces = new ProofCorner(this);
    setCornerWidget(cadrePieces, Qt::TopRightCorner);
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>()) {
        child->setAcceptDrops(true);
        child->installEventFilter(this);
    }
}

bool EntryPages::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        // After the drag has ended: the attachment may ask questions in boxes of its own.
        QMetaObject::invokeMethod(
            this, [this, files] { Q_EMIT filesDropped(files); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QTabWidget::eventFilter(watched, event);
    }
}

void EntryPages::showCareDate()
{
    setCurrentWidget(pageSoins);
    enterField(pageSoins->DBDateSoins);
}

void EntryPages::OngletsSaisieClick(int page)
{
    DBEdit *first[] = {pageSoins->DBDateSoins, pageCPAM->DBchpDateCPAM,
                       pageMutuelle->DBchpDateMutuelle};
    if (page >= 0 && page < 3) {
        setCurrentIndex(page);
        enterField(first[page]);
    }
}

// The estimate box follows the check box of the record in view; only the user unchecking it
// on the record being edited empties "Estimation" (a record merely coming into view is never
// changed).
void EntryPages::ccMutuellePartielClick()
{
    const bool partial = pageSoins->ccMutuellePartiel->checkState() == Qt::Checked;
    DBEdit *estimate = pageSoins->DBchpEstimation;
    estimate->setEnabled(partial);
    QPalette palette = estimate->palette();
    palette.setColor(QPalette::Base, partial ? QApplication::palette().color(QPalette::Base)
                                             : QColor(0xC0, 0xC0, 0xC0));
    estimate->setPalette(palette);
}

void EntryPages::ccMutuellePartielToggledByUser(bool checked)
{
    if (checked)
        return;
    HandlerGuard::run(this, [this] {
        table_.edit();
        table_.fieldByName(CareFields::Estimation).clear();
    });
}
