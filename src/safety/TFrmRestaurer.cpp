#include "TFrmRestaurer.h"

#include "BackupPlace.h"
#include "platform/core/Formats.h"

#include "recovery/AutomaticBackup.h"
#include "recovery/PasswordStore.h"
#include "recovery/PendingRestore.h"
#include "recovery/RestoreCandidate.h"
#include "recovery/RestoreSwap.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/LongWork.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QString refusal(const QString &reason)
{
    return QStringLiteral("Cette copie ne peut pas être restaurée.\n") + reason;
}

} // namespace

TFrmRestaurer::TFrmRestaurer(const QString &programDir, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), programDir_(programDir)
{
    setObjectName(QStringLiteral("TFrmRestaurer"));
    setWindowTitle(QStringLiteral(" Restaurer une copie de sauvegarde"));

    auto *caption = new QLabel(QStringLiteral("Copies de sauvegarde :"), this);
    lstCopies = new QListWidget(this);
    lstCopies->setObjectName(QStringLiteral("lstCopies"));
    lstCopies->setMinimumSize(360, 180);
    caption->setBuddy(lstCopies);
    connect(lstCopies, &QListWidget::currentRowChanged, this, &TFrmRestaurer::chooseRow);
    etqContenu = new QLabel(this);
    etqContenu->setObjectName(QStringLiteral("etqContenu"));
    etqContenu->setWordWrap(true);
    etqContenu->setMinimumHeight(64);
    etqContenu->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    etqContenu->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnRestaurer = new QPushButton(QStringLiteral("Restaurer..."), this);
    btnRestaurer->setObjectName(QStringLiteral("btnRestaurer"));
    btnRestaurer->setEnabled(false);
    connect(btnRestaurer, &QPushButton::clicked, this, &TFrmRestaurer::btnRestaurerClick);
    btnAutreDossier = new QPushButton(QStringLiteral("Autre dossier..."), this);
    btnAutreDossier->setObjectName(QStringLiteral("btnAutreDossier"));
    connect(btnAutreDossier, &QPushButton::clicked, this, &TFrmRestaurer::btnAutreDossierClick);
    btnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    btnAide = new QPushButton(QStringLiteral("&Aide"), this);
    btnAide->setObjectName(QStringLiteral("btnAide"));
    connect(btnAide, &QPushButton::clicked, this, [this] { Help::showContext(this, helpContext); });
    Help::addHelpKey(*this, helpContext);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnRestaurer);
    buttons->addWidget(btnAutreDossier);
    buttons->addWidget(btnAnnuler);
    buttons->addWidget(btnAide);
    buttons->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(caption);
    left->addWidget(lstCopies, 1);
    left->addWidget(etqContenu);
    auto *row = new QHBoxLayout(this);
    row->setSizeConstraint(QLayout::SetFixedSize);
    row->addLayout(left, 1);
    row->addLayout(buttons);
    fillCopies();
}

TFrmRestaurer::~TFrmRestaurer() = default;

void TFrmRestaurer::fillCopies()
{
    candidate_.reset();
    lstCopies->clear();
    for (const QString &path : AutomaticBackup::copies(programDir_)) {
        const QDate day =
            QDate::fromString(QFileInfo(path).fileName(), QStringLiteral("yyyy-MM-dd"));
        auto *item = new QListWidgetItem(
            QStringLiteral("Copie automatique du %1").arg(Formats::fullDate(day)));
        item->setData(Qt::UserRole, path);
        lstCopies->addItem(item);
    }
    // The files a restore set aside: the way back to what was replaced.
    const int automatic = lstCopies->count();
    for (const QString &path : RestoreSwap::asideFolders(programDir_)) {
        auto *item = new QListWidgetItem(asideLabel(QFileInfo(path).fileName()));
        item->setData(Qt::UserRole, path);
        lstCopies->addItem(item);
    }
    etqContenu->setText(automatic == 0
                            ? QStringLiteral("Aucune copie automatique pour l'instant : "
                                             "choisissez le dossier d'une copie avec « Autre "
                                             "dossier... ».")
                            : QString());
    btnRestaurer->setEnabled(false);
    // The newest automatic copy is the likeliest choice: it is described at once.
    if (lstCopies->count() > 0)
        lstCopies->setCurrentRow(0);
}

void TFrmRestaurer::addFolder(const QString &path)
{
    auto *item =
        new QListWidgetItem(QStringLiteral("Dossier %1").arg(QDir::toNativeSeparators(path)));
    item->setData(Qt::UserRole, path);
    lstCopies->addItem(item);
    lstCopies->setCurrentItem(item);
}

void TFrmRestaurer::chooseRow(int row)
{
    candidate_.reset();
    btnRestaurer->setEnabled(false);
    QListWidgetItem *item = lstCopies->item(row);
    if (!item)
        return;
    const CursorOverride hourglass(Qt::WaitCursor);
    try {
        // Stopping loses nothing: only the hidden working copy was written, and it goes.
        LongWork work(this, windowTitle(), QStringLiteral("Lecture de la copie de sauvegarde…"),
                      LongWork::Cancel::Offered);
        const QString folder = item->data(Qt::UserRole).toString();
        std::unique_ptr<RestoreCandidate> prepared;
        work.runOnWorker([this, &folder, &prepared](WorkProgress &progress) {
            prepared = RestoreCandidate::prepare(programDir_, folder,
                                                 [&progress](qint64 done, qint64 total) {
                                                     progress.report(done, total);
                                                     return !progress.stopRequested();
                                                 });
        });
        candidate_ = std::move(prepared);
        if (!candidate_) {
            etqContenu->setText(QStringLiteral("La lecture de cette copie a été annulée."));
            return;
        }
        etqContenu->setText(candidate_->summaryText());
        btnRestaurer->setEnabled(true);
    } catch (const PlatformError &e) {
        etqContenu->setText(refusal(e.message()));
    } catch (const std::exception &e) {
        etqContenu->setText(refusal(QString::fromUtf8(e.what())));
    }
}

void TFrmRestaurer::btnAutreDossierClick()
{
    // Where the last copy went is the likeliest place to find one.
    const QString start = BackupPlace::startingFolder(BackupPlace::remembered(programDir_),
                                                      BackupPlace::volumeRoots(), QDir::homePath());
    const QString path = QFileDialog::getExistingDirectory(
        this, QStringLiteral(" Choisir le dossier de la copie de sauvegarde"), start);
    if (!path.isEmpty())
        addFolder(path);
}

QString TFrmRestaurer::asideLabel(const QString &folderName)
{
    static const QString prefix = QStringLiteral("Avant restauration");
    QString rest = folderName.mid(prefix.size()).trimmed();
    const QString stamp = rest.left(16);
    const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH'h'mm"));
    if (!when.isValid())
        return folderName;
    rest = rest.mid(16).trimmed();
    return QStringLiteral("Données d'avant la restauration du %1 à %2%3")
        .arg(when.toString(QStringLiteral("dd/MM/yyyy")), when.toString(QStringLiteral("HH'h'mm")),
             rest.isEmpty() ? QString() : QStringLiteral(" ") + rest);
}

QString TFrmRestaurer::confirmation(const QString &summary, bool passwordSet)
{
    const QString password =
        passwordSet ? QStringLiteral("Le mot de passe actuel reste en vigueur : celui de la copie "
                                     "n'est pas repris.")
                    : QStringLiteral("Talo 3.0 reste sans mot de passe, comme maintenant : celui "
                                     "de la copie n'est pas repris.");
    return QStringLiteral("%1\n\nRemplacer les données actuelles par celles de cette copie ?\n\n"
                          "Les fichiers actuels seront d'abord mis de côté dans le dossier "
                          "« %2 » du dossier de Talo 3.0. Talo 3.0 redémarrera ensuite pour "
                          "afficher les données restaurées.\n\n%3")
        .arg(summary, RestoreSwap::asideFolderName(QDateTime::currentDateTime()), password);
}

void TFrmRestaurer::btnRestaurerClick()
{
    if (!candidate_)
        return;
    bool passwordSet = true;
    try {
        passwordSet = PasswordStore::read(programDir_).isSet();
    } catch (const PlatformError &e) {
        Dialogs::error(this, e.message());
        return;
    }
    if (!Dialogs::question(this, confirmation(candidate_->summaryText(), passwordSet),
                           Dialogs::Answer::No))
        return;
    PendingRestore::set(std::move(candidate_));
    accept();
}

void TFrmRestaurer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}
