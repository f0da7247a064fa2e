#include "TFrmSauvegarder.h"

#include "BackupPlace.h"
#include "DirectoryListBox.h"
#include "PathLabel.h"

#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/DialogPlacement.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/LongWork.h"
#include "platform/widgets/ReadableText.h"
#include "recovery/BackupCopy.h"
#include "recovery/RestoreCandidate.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace
{

constexpr int helpContext = 44;
constexpr int pathWidth = 380;

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TFrmSauvegarder::TFrmSauvegarder(const QString &programDir, BackupSources &sources, QWidget *parent)
    : QDialog(parent, Dialogs::dialogBorder()), programDir_(programDir), sources_(sources)
{
    setObjectName(QStringLiteral("TFrmSauvegarder"));
    setWindowTitle(QStringLiteral(" Créer une copie de sauvegarde"));

    GroupBox1 = new QGroupBox(QStringLiteral(" Chemin de sauvegarde "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    etqChemin = new PathLabel(GroupBox1);
    etqChemin->setObjectName(QStringLiteral("etqChemin"));
    etqChemin->setFixedWidth(pathWidth);
    // Room for the usual paths, so that the dialog does not jump with every folder.
    etqChemin->setMinimumHeight(2 * etqChemin->fontMetrics().height());
    ReadableText::keep(etqChemin, QColor(0x00, 0x00, 0x80), QPalette::WindowText,
                       {QPalette::Window});
    auto *frameLayout = new QVBoxLayout(GroupBox1);
    frameLayout->addWidget(etqChemin);

    etqDossier = new QLabel(QStringLiteral("Dossier :"), this);
    etqDossier->setObjectName(QStringLiteral("etqDossier"));
    lstChemin = new DirectoryListBox(this);
    lstChemin->setObjectName(QStringLiteral("lstChemin"));
    lstChemin->setFixedSize(260, 200);
    etqDossier->setBuddy(lstChemin);

    etqLecteur = new QLabel(QStringLiteral("Lecteur :"), this);
    etqLecteur->setObjectName(QStringLiteral("etqLecteur"));
    lstLecteur = new QComboBox(this);
    lstLecteur->setObjectName(QStringLiteral("lstLecteur"));
    lstLecteur->setFixedWidth(260);
    etqLecteur->setBuddy(lstLecteur);

    btnOK = button(QStringLiteral("btnOK"), QStringLiteral("OK"), this);
    btnOK->setDefault(true);
    btnAnnuler = button(QStringLiteral("btnAnnuler"), QStringLiteral("Annuler"), this);
    btnAide = button(QStringLiteral("btnAide"), QStringLiteral("&Aide"), this);
    btnCreerDossier =
        button(QStringLiteral("btnCreerDossier"), QStringLiteral("&Créer nouveau dossier"), this);

    connect(btnOK, &QPushButton::clicked, this, &TFrmSauvegarder::btnOKClick);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAide, &QPushButton::clicked, this, &TFrmSauvegarder::btnAideClick);
    connect(btnCreerDossier, &QPushButton::clicked, this, &TFrmSauvegarder::btnCreerDossierClick);
    connect(lstChemin, &DirectoryListBox::directoryChanged, this,
            &TFrmSauvegarder::lstCheminChange);
    connect(lstLecteur, &QComboBox::activated, this, &TFrmSauvegarder::lstLecteurChange);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(etqDossier);
    left->addWidget(lstChemin);
    left->addSpacing(6);
    left->addWidget(etqLecteur);
    left->addWidget(lstLecteur);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addSpacing(etqDossier->sizeHint().height() + 4);
    right->addWidget(btnOK);
    right->addWidget(btnAnnuler);
    right->addWidget(btnAide);
    right->addStretch();
    right->addWidget(btnCreerDossier);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(12);
    lower->addLayout(left);
    lower->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(GroupBox1);
    layout->addLayout(lower);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Help::addHelpKey(*this, helpContext);

    fillVolumes();
    showFolder(startingFolder());
}

QString TFrmSauvegarder::folder() const
{
    return lstChemin->directory();
}

void TFrmSauvegarder::setFolder(const QString &path)
{
    chosen_ = true;
    lstChemin->setDirectory(path);
    lstCheminChange(lstChemin->directory());
}

void TFrmSauvegarder::showFolder(const QString &path)
{
    const QScopedValueRollback placing(placing_, true);
    lstChemin->setDirectory(path);
    lstCheminChange(lstChemin->directory());
}

QString TFrmSauvegarder::startingFolder() const
{
    return BackupPlace::startingFolder(BackupPlace::remembered(programDir_), volumeRoots(),
                                       QDir::homePath());
}

QStringList TFrmSauvegarder::volumeRoots()
{
    return BackupPlace::volumeRoots();
}

QString TFrmSauvegarder::createFolderFailed()
{
    return QStringLiteral("Impossible de créer le dossier.");
}

void TFrmSauvegarder::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Volumes may have been mounted, folders made or removed since the last opening.
    fillVolumes();
    showFolder(chosen_ ? lstChemin->directory() : startingFolder());
    DialogPlacement::centreOnScreen(this);
    btnAnnuler->setFocus();
}

void TFrmSauvegarder::btnOKClick()
{
    // A second click, or Entrée held down, while a copy runs never starts another.
    if (LongWork::busy())
        return;
    const QString shown = etqChemin->text();
    if (!confirmTarget(shown))
        return;
    BackupCopy::Outcome outcome = BackupCopy::Outcome::Copied;
    const bool done = HandlerGuard::run(this, [&] {
        const CursorOverride hourglass(Qt::WaitCursor);
        LongWork work(this, windowTitle(), QStringLiteral("Sauvegarde en cours…"),
                      LongWork::Cancel::Offered);
        const std::optional<BackupCopy::Plan> plan =
            BackupCopy::prepare(programDir_, shown, sources_);
        if (!plan) {
            outcome = BackupCopy::Outcome::RefusedProgramDirectory;
            return;
        }
        // The copy reads the files through connections of its own: the windows keep theirs.
        work.runOnWorker([&plan, &outcome](WorkProgress &progress) {
            const BackupCopy::CopyProgress told{[&progress](qint64 copied, qint64 total) {
                                                    progress.report(copied, total);
                                                    return !progress.stopRequested();
                                                },
                                                [&progress] { progress.withdrawCancel(); }};
            outcome = BackupCopy::copy(*plan, &told);
        });
    });
    if (!done)
        return;
    if (outcome == BackupCopy::Outcome::Cancelled) {
        Dialogs::information(this, QStringLiteral("La sauvegarde a été annulée : le dossier "
                                                  "choisi est resté tel qu'il était."));
        return;
    }
    if (outcome == BackupCopy::Outcome::RefusedProgramDirectory) {
        Dialogs::warning(this, BackupCopy::programDirectoryWarning());
        return;
    }
    reportCopy(shown);
    accept();
}

bool TFrmSauvegarder::confirmTarget(const QString &folderShown)
{
    // The program directory and a missing folder are refused by the copy itself, without a
    // question first.
    if (folderShown.isEmpty())
        return true;
    const QString target = BackupCopy::targetFolder(folderShown);
    if (BackupCopy::sameFolder(target, programDir_) || !QFileInfo(target).isDir())
        return true;
    const QStringList foreign = BackupPlace::foreignEntries(target, programDir_);
    return foreign.isEmpty() ||
           Dialogs::question(this, BackupPlace::foreignEntriesQuestion(folderShown, foreign),
                             Dialogs::Answer::No);
}

void TFrmSauvegarder::reportCopy(const QString &folderShown)
{
    chosen_ = true;
    QString text = BackupPlace::copiedMessage(int(RestoreCandidate::tableFileNames().size()),
                                              BackupCopy::listedFileCount, folderShown);
    try {
        BackupPlace::remember(programDir_, folderShown);
    } catch (const PlatformError &e) {
        // The copy is whole; only the next opening will not find it by itself.
        text += QStringLiteral("\n\nCe dossier n'a pas pu être retenu pour la prochaine "
                               "copie :\n%1")
                    .arg(e.message());
    }
    Dialogs::information(this, text);
}

void TFrmSauvegarder::btnCreerDossierClick()
{
    const std::optional<QString> name =
        Dialogs::inputText(this, QStringLiteral(" Créer un nouveau dossier"),
                           QStringLiteral("Nom du nouveau dossier :"), QString());
    if (!name || name->trimmed().isEmpty())
        return;
    const QDir current(lstChemin->directory());
    // A name is one folder: a separator would create somewhere else than shown.
    const bool created =
        !name->contains(QLatin1Char('/')) &&
        current.mkdir(*name, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!created) {
        Dialogs::error(this, createFolderFailed());
        return;
    }
    setFolder(current.filePath(*name));
}

void TFrmSauvegarder::btnAideClick()
{
    Help::showContext(this, helpContext);
}

void TFrmSauvegarder::lstLecteurChange(int index)
{
    const QString root = lstLecteur->itemData(index).toString();
    if (!root.isEmpty())
        setFolder(root);
}

void TFrmSauvegarder::lstCheminChange(const QString &path)
{
    if (!placing_)
        chosen_ = true;
    etqChemin->setText(path);
    selectVolumeOf(path);
}

void TFrmSauvegarder::fillVolumes()
{
    const QSignalBlocker quiet(lstLecteur);
    lstLecteur->clear();
    for (const QString &root : volumeRoots())
        lstLecteur->addItem(root, root);
    selectVolumeOf(lstChemin->directory());
}

void TFrmSauvegarder::selectVolumeOf(const QString &path)
{
    const QString root = QStorageInfo(path).rootPath();
    const QSignalBlocker quiet(lstLecteur);
    int index = lstLecteur->findData(root);
    if (index < 0 && !root.isEmpty()) {
        lstLecteur->addItem(root, root);
        index = lstLecteur->count() - 1;
    }
    lstLecteur->setCurrentIndex(index);
}
