#include "TFrmPrincipale.h"

#include "ComboSelectors.h"
#include "EntryPages.h"
#include "MainChrome.h"
#include "PendingRecords.h"
#include "TaloWindows.h"

#include "followup/TFrmBilanAnnuel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/DBCheckBox.h"
#include "platform/DBComboBox.h"
#include "platform/DBEdit.h"
#include "platform/DBGrid.h"
#include "platform/DBMemo.h"
#include "platform/DBNavigator.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/HandlerGuard.h"
#include "platform/Help.h"
#include "platform/KeyPreview.h"
#include "platform/PlatformError.h"
#include "platform/ReportCommand.h"
#include "platform/Table.h"
#include "platform/Today.h"
#include "reference/BeneficiaryListFile.h"
#include "reference/TFrmGestionListe.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "register/CareEntryTable.h"
#include "register/CareRegister.h"
#include "register/CareViewReader.h"
#include "register/YearItems.h"
#include "reports/TFrmListeTalo.h"
#include "safety/TFrmSauvegarder.h"
#include "safety/TfrmApropos.h"
#include "safety/TfrmCreationPasse.h"
#include "safety/TfrmMotDePasse.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <functional>

using namespace CareFields;

TFrmPrincipale::TFrmPrincipale(const QString &programDir, QWidget *parent)
    : QMainWindow(parent), programDir_(programDir)
{
    setObjectName(QStringLiteral("TFrmPrincipale"));
    setWindowTitle(QStringLiteral("Talo 3.0 pour Windows 95"));
    // At the top left corner of the screen, frame included.
    resize(640, 480);
    move(0, 0);

    TableTous = std::make_unique<Table>(CareEntryTable::definition());
    TableTous->setObjectName(QStringLiteral("TableTous"));
    TableTous->setIndexFieldNames(CareEntryTable::indexFieldNames());
    TableCopieTous = std::make_unique<Table>(CareEntryTable::definition());
    TableCopieTous->setObjectName(QStringLiteral("TableCopieTous"));

    MainChrome::buildMenu(*this);
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(MainChrome::buildToolBar(*this, EtqAttendus));
    column->addWidget(buildSelectorBand());
    DBGrille = new DBGrid(central);
    DBGrille->setObjectName(QStringLiteral("DBGrille"));
    DBGrille->setHelpContext(24);
    DBGrille->setFocusPolicy(Qt::ClickFocus);
    column->addWidget(DBGrille, 1);
    navTableTous = new DBNavigator(central);
    navTableTous->setObjectName(QStringLiteral("navTableTous"));
    auto *navigatorRow = new QHBoxLayout;
    navigatorRow->setContentsMargins(4, 2, 4, 2);
    navigatorRow->addStretch();
    navigatorRow->addWidget(navTableTous);
    column->addLayout(navigatorRow);
    OngletsSaisie = new EntryPages(*TableTous, central);
    column->addWidget(OngletsSaisie);
    setCentralWidget(central);
    BarreEtat = MainChrome::buildStatusBar(*this);
    // No smaller: the status panels would overlap or cut their sums.
    setMinimumSize(std::max(640, MainChrome::statusBarWidth(BarreEtat)), 480);
    windowCommands_ = MainChrome::windowCommands(*this);

    selectors_ = std::make_unique<ComboSelectors>(*lstListeAnnee, *lstListeBeneficiaires);
    selectors_->setViewSwitch([this] { lstListeBeneficiairesClick(); });
    register_ = std::make_unique<CareRegister>(*TableTous, *selectors_);
    connect(register_.get(), &CareRegister::totalsChanged, this, &TFrmPrincipale::showTotals);
    connect(register_.get(), &CareRegister::viewSwitched, this, [this] {
        viewInForce_ = selectors_->view();
        navTableTous->setFocus();
    });
    connect(lstListeAnnee, &QComboBox::activated, this, [this] { lstListeBeneficiairesClick(); });
    connect(lstListeBeneficiaires, &QComboBox::activated, this,
            [this] { lstListeBeneficiairesClick(); });

    DBGrille->bind(*TableTous);
    navTableTous->bind(*TableTous);
    connect(navTableTous, &DBNavigator::clicked, this,
            [this](DBNavigator::Button b) { navTableTousClick(int(b)); });
    keyPreview_ = new KeyPreview(
        this, [this](QWidget *focused, QKeyEvent *event) { return FormKeyDown(focused, event); });

    // Start-up: open the register (the totals run), then the names, then the last entry.
    TableTous->setDatabaseName(programDir_);
    HandlerGuard::run(this, [this] { TableTous->open(); });
    loadBeneficiaryList();
    selectors_->selectFirstItems();
    viewInForce_ = selectors_->view();
    if (TableTous->isActive())
        HandlerGuard::run(this, [this] { TableTous->last(); });
    enableWindowCommands();
}

TFrmPrincipale::~TFrmPrincipale()
{
    delete keyPreview_;
    keyPreview_ = nullptr;
}

void TFrmPrincipale::setWindows(TaloWindows *windows)
{
    windows_ = windows;
    enableWindowCommands();
}

void TFrmPrincipale::enableWindowCommands()
{
    for (QAction *action : windowCommands_)
        action->setEnabled(windows_ != nullptr);
}

QWidget *TFrmPrincipale::buildSelectorBand()
{
    auto *band = new QWidget(this);
    band->setObjectName(QStringLiteral("BandeSelection"));
    band->setFixedHeight(33);
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(6, 2, 6, 2);
    lstListeAnnee = new QComboBox(band);
    lstListeAnnee->setObjectName(QStringLiteral("lstListeAnnee"));
    lstListeAnnee->addItems(YearItems::items(Today::date().year()));
    lstListeAnnee->setMaxVisibleItems(12);
    lstListeBeneficiaires = new QComboBox(band);
    lstListeBeneficiaires->setObjectName(QStringLiteral("lstListeBeneficiaires"));
    lstListeBeneficiaires->addItem(QStringLiteral("TOUS"));
    lstListeBeneficiaires->setMinimumContentsLength(20);
    lstListeBeneficiaires->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    auto *yearCaption = new QLabel(QStringLiteral("Année :"), band);
    yearCaption->setBuddy(lstListeAnnee);
    auto *beneficiaryCaption = new QLabel(QStringLiteral("Bénéficiaire :"), band);
    beneficiaryCaption->setBuddy(lstListeBeneficiaires);
    row->addWidget(yearCaption);
    row->addWidget(lstListeAnnee);
    row->addSpacing(24);
    row->addWidget(beneficiaryCaption);
    row->addWidget(lstListeBeneficiaires);
    row->addStretch();
    return band;
}

void TFrmPrincipale::loadBeneficiaryList()
{
    try {
        const QStringList names = BeneficiaryListFile::load(programDir_);
        lstListeBeneficiaires->clear();
        lstListeBeneficiaires->addItems(names);
    } catch (const PlatformError &e) {
        // A file that is there but cannot be read holds names we do not know: it is reported as
        // it is and left alone at the end, never replaced by the list "TOUS" of this run.
        keepListFile_ =
            QFileInfo::exists(FileNames::resolve(programDir_, BeneficiaryListFile::fileName()));
        if (keepListFile_)
            Dialogs::error(this, e.message());
        else
            Dialogs::information(this, QStringLiteral("Fichier LSTBENEF.LST introuvable. Normal si "
                                                      "c'est la première fois que vous exécutez "
                                                      "Talo 3.0"));
    }
}

void TFrmPrincipale::showTotals(const RegisterTotals &totals)
{
    const QStringList texts = totals.statusTexts();
    for (int i = 0; i < BarreEtat.size() && i < texts.size(); ++i)
        BarreEtat[i]->setText(texts[i]);
    EtqAttendus->setText(totals.awaitedText());
}

void TFrmPrincipale::lstListeBeneficiairesClick()
{
    // A switch refused (an entry being typed that cannot be saved) leaves the view as it was:
    // the selectors go back to it, so that they never name a view the grid and totals do not show.
    if (!HandlerGuard::run(this, [this] { register_->lstListeBeneficiairesClick(); }))
        selectors_->showView(viewInForce_);
}

void TFrmPrincipale::navTableTousClick(int button)
{
    if (DBNavigator::Button(button) != DBNavigator::Button::Insert)
        return;
    OngletsSaisie->showCareDate();
}

bool TFrmPrincipale::FormKeyDown(QWidget *focused, QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter) {
        if (qobject_cast<DBMemo *>(focused)) {
            TableTous->edit();
            TableTous->post();
            // The next control in tab order would be the year selector, where the next Down
            // arrow changes the view; the date field of the page lets Up/Down browse instead.
            OngletsSaisie->OngletsSaisieClick(OngletsSaisie->currentIndex());
        } else if (qobject_cast<DBEdit *>(focused) || qobject_cast<DBComboBox *>(focused) ||
                   qobject_cast<DBCheckBox *>(focused)) {
            focusNextChild();
        }
        return true; // the Enter character never reaches a control
    }
    switch (key) {
    case Qt::Key_Escape:
        TableTous->cancel();
        break;
    case Qt::Key_Insert:
        TableTous->append();
        OngletsSaisie->showCareDate();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The grid moves the table itself on its arrow keys.
        if (focused != DBGrille) {
            if (key == Qt::Key_Up)
                TableTous->prior();
            else
                TableTous->next();
        }
        break;
    case Qt::Key_F1:
        if (focused == DBGrille)
            Help::showContext(this, 24);
        else if (focused && OngletsSaisie->isAncestorOf(focused))
            Help::showContext(this, 25);
        else
            Help::showContents(this);
        return true;
    default:
        break;
    }
    return false;
}

void TFrmPrincipale::btnImprimerClick(bool preview)
{
    if (!windows_)
        return;
    TFrmListeTalo &report = *windows_->frmListeTalo;
    ReportCommand::run(this, *TableTous, [this, &report, preview] {
        if (preview)
            report.preview(this);
        else
            report.print();
    });
}

void TFrmPrincipale::btnInformationsClick()
{
    if (windows_)
        windows_->frmInfos->exec();
}

void TFrmPrincipale::BtnMedecinsClick()
{
    if (windows_)
        windows_->frmMedecins->exec();
}

void TFrmPrincipale::btnListeBenefClick()
{
    if (!windows_ || !postPendingRecords(false))
        return;
    windows_->frmGestionListe->exec();
}

void TFrmPrincipale::btnSauvegarderClick()
{
    // The copy takes the tables as they are on disk: what is being typed goes there first.
    if (!windows_ || !postPendingRecords(true))
        return;
    windows_->frmSauvegarder->exec();
}

void TFrmPrincipale::mnuPasseClick()
{
    if (windows_)
        windows_->frmCreationPasse->run(programDir_);
}

void TFrmPrincipale::mnuAproposClick()
{
    if (windows_)
        windows_->frmApropos->exec();
}

void TFrmPrincipale::btnAideClick()
{
    Help::showContents(this);
}

void TFrmPrincipale::BtnQuitterClick()
{
    close();
}

bool TFrmPrincipale::FormShow()
{
    if (!windows_) {
        show();
        return true;
    }
    // The window stays unmapped until the password is given: nothing of the register may be
    // seen behind the prompt, and a refusal ends the program without it ever appearing.
    leaveSilently_ = false;
    switch (windows_->frmMotDePasse->gate(programDir_)) {
    case TfrmMotDePasse::Outcome::LetIn:
        show();
        raise();
        activateWindow();
        return true;
    case TfrmMotDePasse::Outcome::Refused:
    case TfrmMotDePasse::Outcome::Cancelled:
        break;
    }
    leaveSilently_ = true;
    close();
    return false;
}

bool TFrmPrincipale::postPendingRecords(bool everyTable)
{
    QList<PendingRecords::Pending> tables{{TableTous.get(), QString()}};
    if (everyTable && windows_) {
        tables.append({&windows_->frmMedecins->tableMedecins(), PendingRecords::doctorPlace()});
        tables.append({&windows_->frmInfos->tableAssure(), PendingRecords::insuredPlace()});
    }
    return PendingRecords::post(this, tables);
}

void TFrmPrincipale::writeSideFiles()
{
    // Each file on its own: one that cannot be written never keeps the others from being saved.
    QStringList failures;
    const auto attempt = [&failures](const std::function<void()> &write) {
        try {
            write();
        } catch (const PlatformError &e) {
            failures.append(e.message());
        } catch (const std::exception &e) {
            failures.append(QString::fromUtf8(e.what()));
        }
    };
    if (!keepListFile_)
        attempt([this] { BeneficiaryListFile::save(programDir_, selectors_->beneficiaryItems()); });
    if (windows_)
        attempt([this] { windows_->frmInfos->writeDetails(); });
    if (!failures.isEmpty())
        throw PlatformError(failures.join(QLatin1Char('\n')));
}

void TFrmPrincipale::resetRegisterView()
{
    selectors_->selectFirstItems();
    register_->lstListeBeneficiairesClick();
    TableTous->last();
}

void TFrmPrincipale::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFrmPrincipale::FormCloseQuery()
{
    if (leaveSilently_)
        return true;
    QApplication::beep();
    if (!Dialogs::question(this, QStringLiteral("Voulez-vous vraiment quitter Talo 3.0 ?")))
        return false;
    // Records typed but not yet posted, here or in a window closed since, are saved rather than
    // lost; if one cannot be (a required value missing), the program stays open.
    if (!postPendingRecords(true))
        return false;
    try {
        writeSideFiles();
        return true;
    } catch (const PlatformError &e) {
        return Dialogs::question(this,
                                 QStringLiteral("Ces fichiers n'ont pas pu être enregistrés :"
                                                "\n\n%1\n\nQuitter quand même ?")
                                     .arg(e.message()),
                                 Dialogs::Answer::No);
    }
}

void TFrmPrincipale::mnuSuiviClick()
{
    // The walk over the view would post a pending entry without a word: it is posted first,
    // with its error box if refused.
    if (!TableTous->isActive() || !postPendingRecords(false))
        return;
    std::optional<TFrmSuiviRemboursements::Choice> choice;
    HandlerGuard::run(this, [this, &choice] {
        const QString view = QStringLiteral("Bénéficiaire : %1, année : %2")
                                 .arg(selectors_->beneficiaryText(), selectors_->yearText());
        TFrmSuiviRemboursements window(CareViewReader::readView(*TableTous), view, this);
        window.exec();
        choice = window.choice();
    });
    if (!choice || !TableTous->gotoBookmark(choice->row))
        return;
    const int page = choice->payer == AwaitedPayer::Cpam ? 1 : 2;
    OngletsSaisie->OngletsSaisieClick(page);
    if (isActiveWindow())
        return;
    // The window gets its focus back with the activation that follows the closed dialog,
    // which leaves the caret at the end of the date, where typing is refused: the field is
    // entered again once the window is active, its text selected to be typed over.
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(qApp, &QGuiApplication::focusWindowChanged, this, [this, once, page] {
        if (!isActiveWindow())
            return;
        disconnect(*once);
        QTimer::singleShot(0, this, [this, page] { OngletsSaisie->OngletsSaisieClick(page); });
    });
}

void TFrmPrincipale::mnuBilanClick()
{
    if (!TableTous->isActive() || !postPendingRecords(false))
        return;
    HandlerGuard::run(this, [this] {
        TFrmBilanAnnuel window(CareViewReader::readAll(*TableTous), this);
        window.exec();
    });
}
