#include "ProofsDialog.h"

#include "ProofAttach.h"
#include "ProofViewMessages.h"
#include "ProofViewer.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/Help.h"
#include "proofs/ProofStore.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>

namespace
{

QString sizeText(qint64 bytes)
{
    const QLocale french(QLocale::French, QLocale::France);
    if (bytes < 1024)
        return QStringLiteral("%1 octets").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 Ko").arg(french.toString(double(bytes) / 1024.0, 'f', 0));
    return QStringLiteral("%1 Mo").arg(french.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1));
}

// The desktop's viewers get a read-only copy under the name the person knows, in a private
// folder removed when the program ends: the stored file keeps its content's name, and no
// viewer can change it.
QString viewerCopy(const QString &stored, const QString &shownName)
{
    static std::unique_ptr<QTemporaryDir> folder;
    if (!folder || !folder->isValid())
        folder =
            std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("talo-XXXXXX")));
    if (!folder->isValid())
        return {};
    QString name = shownName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString copy = QDir(folder->path()).filePath(name);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(copy);
    if (!QFile::copy(stored, copy))
        return {};
    QFile::setPermissions(copy, QFile::ReadOwner);
    return copy;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

ProofsDialog::ProofsDialog(ProofStore &store, qint64 entryNumber, const QString &entryText,
                           QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), store_(store), entryNumber_(entryNumber)
{
    setObjectName(QStringLiteral("TFrmPiecesJointes"));
    setWindowTitle(QStringLiteral(" Pièces jointes"));
    setAcceptDrops(true);
    resize(560, 320);

    auto *caption = new QLabel(QStringLiteral("&Pièces du soin %1 :").arg(entryText), this);
    lstPieces = new QTableWidget(0, 3, this);
    lstPieces->setObjectName(QStringLiteral("lstPieces"));
    lstPieces->setAccessibleName(QStringLiteral("Pièces jointes du soin"));
    lstPieces->setHorizontalHeaderLabels(
        {QStringLiteral("Nom"), QStringLiteral("Ajoutée le"), QStringLiteral("Taille")});
    lstPieces->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstPieces->setSelectionMode(QAbstractItemView::SingleSelection);
    lstPieces->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstPieces->setTabKeyNavigation(false);
    lstPieces->verticalHeader()->hide();
    lstPieces->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstPieces->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    lstPieces->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lstPieces->installEventFilter(this);
    caption->setBuddy(lstPieces);
    connect(lstPieces, &QTableWidget::itemDoubleClicked, this, [this] { btnVoirClick(); });
    connect(lstPieces, &QTableWidget::currentCellChanged, this, [this] { enableButtons(); });

    btnJoindre = button("btnJoindre", QStringLiteral("&Joindre..."), this);
    btnOuvrir = button("btnOuvrir", QStringLiteral("&Ouvrir"), this);
    btnOuvrir->setToolTip(QStringLiteral("Ouvre la pièce dans le visionneur du bureau"));
    btnVoir = button("btnVoir", QStringLiteral("&Voir"), this);
    btnVoir->setToolTip(QStringLiteral("Affiche la pièce dans Talo (Entrée)"));
    btnRenommer = button("btnRenommer", QStringLiteral("&Renommer..."), this);
    btnSupprimer = button("btnSupprimer", QStringLiteral("&Supprimer"), this);
    btnSupprimer->setToolTip(QStringLiteral("Retire la pièce de ce soin (Suppr)"));
    auto *btnFermer = button("btnFermer", QStringLiteral("&Fermer"), this);
    connect(btnJoindre, &QPushButton::clicked, this, &ProofsDialog::btnJoindreClick);
    connect(btnOuvrir, &QPushButton::clicked, this, &ProofsDialog::btnOuvrirClick);
    connect(btnVoir, &QPushButton::clicked, this, &ProofsDialog::btnVoirClick);
    connect(btnRenommer, &QPushButton::clicked, this, &ProofsDialog::btnRenommerClick);
    connect(btnSupprimer, &QPushButton::clicked, this, &ProofsDialog::btnSupprimerClick);
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {btnJoindre, btnOuvrir, btnVoir, btnRenommer, btnSupprimer})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnFermer);
    auto *row = new QHBoxLayout;
    row->addWidget(lstPieces, 1);
    row->addLayout(buttons);
    auto *column = new QVBoxLayout(this);
    column->addWidget(caption);
    column->addLayout(row);
    column->addWidget(new QLabel(
        QStringLiteral("Vous pouvez aussi déposer ici des fichiers venant du gestionnaire de "
                       "fichiers."),
        this));
    Help::addHelpKey(*this, helpContext);

    reload(0);
    DialogPlacement::centreOnScreen(this);
    lstPieces->setFocus();
}

void ProofsDialog::reload(int keepRow)
{
    links_ = store_.proofsOf(entryNumber_);
    lstPieces->setRowCount(int(links_.size()));
    for (int r = 0; r < int(links_.size()); ++r) {
        const ProofLink &link = links_[size_t(r)];
        auto *name = new QTableWidgetItem(link.shownName);
        auto *added = new QTableWidgetItem(
            link.added.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
        auto *size = new QTableWidgetItem(sizeText(link.size));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lstPieces->setItem(r, 0, name);
        lstPieces->setItem(r, 1, added);
        lstPieces->setItem(r, 2, size);
    }
    selectRow(std::min(keepRow, int(links_.size()) - 1));
    enableButtons();
}

void ProofsDialog::selectRow(int row)
{
    if (row >= 0)
        lstPieces->setCurrentCell(row, 0);
}

const ProofLink *ProofsDialog::current() const
{
    const int row = lstPieces->currentRow();
    return row >= 0 && row < int(links_.size()) ? &links_[size_t(row)] : nullptr;
}

void ProofsDialog::enableButtons()
{
    const bool any = current() != nullptr;
    for (QPushButton *b : {btnOuvrir, btnVoir, btnRenommer, btnSupprimer})
        b->setEnabled(any);
}

void ProofsDialog::attachFiles(const QStringList &files)
{
    if (ProofAttach::attach(this, store_, entryNumber_, files)) {
        changed_ = true;
        reload(int(links_.size()));
    }
    lstPieces->setFocus();
}

void ProofsDialog::btnJoindreClick()
{
    attachFiles(ProofAttach::chooseFiles(this));
}

void ProofsDialog::btnOuvrirClick()
{
    const ProofLink *link = current();
    if (!link)
        return;
    const QString copy = viewerCopy(store_.pathOf(*link), link->shownName);
    if (copy.isEmpty()) {
        Dialogs::error(this, ProofViewMessages::copyFailed(link->shownName));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(copy)))
        Dialogs::error(this, ProofViewMessages::cannotOpen(link->shownName));
}

void ProofsDialog::btnVoirClick()
{
    const ProofLink *link = current();
    if (!link)
        return;
    HandlerGuard::run(this, [this, link] {
        ProofViewer viewer(store_.pathOf(*link), link->shownName, this);
        viewer.exec();
    });
    lstPieces->setFocus();
}

void ProofsDialog::btnRenommerClick()
{
    const ProofLink *link = current();
    if (!link)
        return;
    const int row = lstPieces->currentRow();
    const std::optional<QString> name =
        Dialogs::inputText(this, QStringLiteral(" Renommer la pièce jointe"),
                           QStringLiteral("Nouveau nom :"), link->shownName);
    if (!name || *name == link->shownName)
        return;
    if (HandlerGuard::run(this, [this, link, &name] { store_.rename(link->id, *name); })) {
        changed_ = true;
        reload(row);
    }
}

void ProofsDialog::btnSupprimerClick()
{
    const ProofLink *link = current();
    if (!link)
        return;
    const int row = lstPieces->currentRow();
    if (!Dialogs::question(this, ProofViewMessages::askRemove(link->shownName),
                           Dialogs::Answer::No))
        return;
    if (HandlerGuard::run(this, [this, link] { store_.remove(link->id); })) {
        changed_ = true;
        reload(row);
    }
    lstPieces->setFocus();
}

bool ProofsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstPieces && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnVoirClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            btnSupprimerClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ProofsDialog::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ProofsDialog::dropEvent(QDropEvent *event)
{
    QStringList files;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    event->acceptProposedAction();
    attachFiles(files);
}
