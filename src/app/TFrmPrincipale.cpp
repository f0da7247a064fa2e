#include "TFrmPrincipale.h"

#include "ComboSelectors.h"
#include "DataCommands.h"
#include "EntryPages.h"
#include "MainChrome.h"
#include "PendingRecords.h"
#include "ProofCommands.h"
#include "ProofCorner.h"
#include "ProofCounts.h"
#include "StatementImport.h"
#include "TFrmRechercher.h"
#include "TaloWindows.h"

#include "followup/TFrmBilanAnnuel.h"
#include "followup/TFrmSuiviRemboursements.h"
#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/store/Table.h"
#include "platform/widgets/DBCheckBox.h"
#include "platform/widgets/DBComboBox.h"
#include "platform/widgets/DBEdit.h"
#include "platform/widgets/DBGrid.h"
#include "platform/widgets/DBMemo.h"
#include "platform/widgets/DBNavigator.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/HandlerGuard.h"
#include "platform/widgets/Help.h"
#include "platform/widgets/LongWork.h"
#include "platform/widgets/ReportCommand.h"
#include "proofs/ProofReadProcess.h"
#include "proofs/ProofStore.h"
#include "reference/BeneficiaryListFile.h"
#include "reference/TFrmGestionListe.h"
#include "reference/TFrmInfos.h"
#include "reference/TFrmMedecins.h"
#include "register/CareRegister.h"
#include "register/CareViewChoice.h"
#include "register/CareViewReader.h"
#include "register/FollowUpLines.h"
#include "register/YearTotals.h"
#include "reports/TFrmListeTalo.h"
#include "safety/TFrmSauvegarder.h"
#include "safety/TfrmApropos.h"
#include "safety/TfrmCreationPasse.h"
#include "safety/TfrmMotDePasse.h"
#include "tables/CareEntryTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
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

    TableTous = new Table(CareEntryTable::definition(), this);
    TableTous->setObjectName(QStringLiteral("TableTous"));
    TableTous->setIndexFieldNames(CareEntryTable::indexFieldNames());
    // The window shows with the first and last screens of entries; the rest follows.
    TableTous->setEarlyRows(200);
    TableCopieTous = new Table(CareEntryTable::definition(), this);
    TableCopieTous->setObjectName(QStringLiteral("TableCopieTous"));

    MainChrome::buildMenu(*this);
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(MainChrome::buildToolBar(*this, EtqAttendus));
    column->addWidget(MainChrome::buildSelectorBand(*this, lstListeAnnee, lstListeBeneficiaires));
    DBGrille = new DBGrid(central);
    DBGrille->setObjectName(QStringLiteral("DBGrille"));
    DBGrille->setHelpContext(24);
    DBGrille->setFocusPolicy(Qt::ClickFocus);
    DBGrille->setAccessibleName(QStringLiteral("Soins enregistrés"));
    DBGrille->setAccessibleDescription(
        QStringLiteral("Les soins affichés, par date ; la ligne choisie est dans les onglets"));
    column->addWidget(DBGrille, 1);
    navTableTous = new DBNavigator(central);
    navTableTous->setObjectName(QStringLiteral("navTableTous"));
    navTableTous->setReachedByTab(true);
    auto *navigatorRow = new QHBoxLayout;
    navigatorRow->setContentsMargins(4, 2, 4, 2);
    navigatorRow->addStretch();
    navigatorRow->addWidget(navTableTous);
    column->addLayout(navigatorRow);
    OngletsSaisie = new EntryPages(*TableTous, central);
    column->addWidget(OngletsSaisie);
    // Files are read by a child process before they are kept: a hostile file ends only that.
    proofs_ = std::make_unique<ProofStore>(programDir_, ProofReadProcess::check());
    // Links are written on the register's own connection: its rows are not read again for them.
    proofs_->setWriter([this](const ProofStore::Work &work) {
        if (!TableTous->isActive())
            return false;
        TableTous->writeCompanions(work);
        return true;
    });
    proofCounts_ = std::make_unique<ProofCounts>(*proofs_);
    connect(OngletsSaisie->cadrePieces->btnJoindre, &QToolButton::clicked, this,
            &TFrmPrincipale::mnuJoindreClick);
    connect(OngletsSaisie->cadrePieces->btnPieces, &QToolButton::clicked, this,
            &TFrmPrincipale::mnuPiecesClick);
    connect(OngletsSaisie, &EntryPages::filesDropped, this,
            [this](const QStringList &files) { ProofCommands::attach(*this, files); });
    setCentralWidget(central);
    BarreEtat = MainChrome::buildStatusBar(*this);
    // No smaller: the status panels would overlap or cut their sums.
    setMinimumSize(std::max(640, MainChrome::statusBarWidth(BarreEtat)), 480);
    windowCommands_ = MainChrome::windowCommands(*this);

    selectors_ = std::make_unique<ComboSelectors>(*lstListeAnnee, *lstListeBeneficiaires);
    selectors_->setViewSwitch([this] { lstListeBeneficiairesClick(); });
    register_ = new CareRegister(*TableTous, *selectors_, this);
    connect(register_, &CareRegister::totalsChanged, this, &TFrmPrincipale::showTotals);
    connect(register_, &CareRegister::viewSwitched, this, [this] {
        viewInForce_ = selectors_->view();
        navTableTous->setFocus();
    });
    connect(lstListeAnnee, &QComboBox::activated, this, [this] { lstListeBeneficiairesClick(); });
    connect(lstListeBeneficiaires, &QComboBox::activated, this,
            [this] { lstListeBeneficiairesClick(); });

    // The counts are read once per view (or rows read again), then looked up at each move.
    connect(TableTous, &Table::dataSetChanged, this, [this] {
        proofCounts_->forget();
        showProofCount(true);
    });
    for (auto signal : {&Table::recordChanged, &Table::stateChanged})
        connect(TableTous, signal, this, [this] { showProofCount(); });
    DBGrille->bind(*TableTous);
    // Every column in sight at the opening size: the names and doctors give up their width.
    DBGrille->setFillWidth(true);
    navTableTous->bind(*TableTous);
    connect(navTableTous, &DBNavigator::clicked, this,
            [this](DBNavigator::Button b) { navTableTousClick(int(b)); });
    keys_ = new DataWindowKeys(this, keyRules());

    // Start-up: open the register (the totals run), then the names, then the last entry.
    TableTous->setDatabaseName(programDir_);
    {
        // A register without its stored sums (written by an earlier version or another
        // program) has them built first: at a million entries that is worth a bar.
        std::unique_ptr<LongWork> building;
        register_->setSumsBuildProgress([&building](qint64 done, qint64 total) {
            if (!building)
                building = std::make_unique<LongWork>(nullptr, QStringLiteral("Talo 3.0"),
                                                      QStringLiteral("Calcul des totaux…"),
                                                      LongWork::Cancel::NotOffered);
            building->report(done, total);
        });
        HandlerGuard::run(this, [this] { TableTous->open(); });
        register_->setSumsBuildProgress({});
    }
    // Said once: every change refused afterwards says so again in its own box.
    if (TableTous->isReadOnly())
        Dialogs::warning(this,
                         QStringLiteral("Le registre est ouvert en lecture seule : les soins "
                                        "peuvent être consultés, mais aucune saisie, correction "
                                        "ou suppression ne sera enregistrée.\nFichier : %1\n%2")
                             .arg(TableTous->filePath(), TableTous->readOnlyReason()));
    loadBeneficiaryList();
    selectors_->selectFirstItems();
    viewInForce_ = selectors_->view();
    if (TableTous->isActive())
        HandlerGuard::run(this, [this] { TableTous->last(); });
    enableWindowCommands();
}

TFrmPrincipale::~TFrmPrincipale() = default;

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

DataWindowKeys::Rules TFrmPrincipale::keyRules()
{
    DataWindowKeys::Rules rules;
    rules.table = TableTous;
    rules.grid = DBGrille;
    rules.window = DataWindowKeys::Window::Main;
    rules.postsOnEnter = [](const QWidget *w) { return qobject_cast<const DBMemo *>(w); };
    // The next control in tab order would be the year selector, where the next Down arrow
    // changes the view; the date field of the page lets Up/Down browse instead.
    rules.afterPost = [this] { OngletsSaisie->OngletsSaisieClick(OngletsSaisie->currentIndex()); };
    rules.movesOnEnter = [](const QWidget *w) {
        return qobject_cast<const DBEdit *>(w) || qobject_cast<const DBComboBox *>(w) ||
               qobject_cast<const DBCheckBox *>(w);
    };
    rules.focusNext = [this] { focusNextChild(); };
    rules.caretForInsert = [this] { OngletsSaisie->showCareDate(); };
    // A tool bar or navigator button reached by Tab is pressed by Enter as by Space.
    rules.enterElsewhere = [](QWidget *w) {
        auto *button = qobject_cast<QToolButton *>(w);
        if (button)
            button->click();
        return button != nullptr;
    };
    rules.help = [this](QWidget *focused) {
        if (focused == DBGrille)
            Help::showContext(this, 24);
        else if (focused && OngletsSaisie->isAncestorOf(focused))
            Help::showContext(this, 25);
        else
            Help::showContents(this);
        return true;
    };
    return rules;
}

void TFrmPrincipale::btnImprimerClick(ReportCommand::Output output)
{
    if (!windows_)
        return;
    TFrmListeTalo &report = *windows_->frmListeTalo;
    ReportCommand::run(this, *TableTous, [this, &report, output] {
        if (output == ReportCommand::Output::Preview)
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

void TFrmPrincipale::mnuExporterClick()
{
    if (windows_)
        DataCommands::exportTables(*this, *windows_);
}

void TFrmPrincipale::mnuImporterReleveClick()
{
    if (windows_)
        StatementImport::run(*this);
}

void TFrmPrincipale::mnuRestaurerClick()
{
    if (windows_)
        DataCommands::restore(*this);
}

void TFrmPrincipale::mnuJoindreClick()
{
    ProofCommands::attach(*this, {});
}

void TFrmPrincipale::mnuPiecesClick()
{
    ProofCommands::list(*this);
}

void TFrmPrincipale::mnuDossierClick()
{
    if (!TableTous->isActive() || !postPendingRecords(false))
        return;
    std::vector<CareFacts> view;
    if (HandlerGuard::run(this, [this, &view] { view = CareViewReader::readView(*TableTous); }))
        ProofCommands::dossier(*this, this, view);
}

void TFrmPrincipale::showProofCount(bool again)
{
    const qint64 entry = ProofCommands::entryInView(*this);
    if (entry == proofCountOf_ && !again)
        return;
    proofCountOf_ = entry;
    if (again)
        proofCounts_->forget();
    OngletsSaisie->cadrePieces->showCount(proofCounts_->of(entry));
}

void TFrmPrincipale::leaveWithoutQuestion()
{
    leaveSilently_ = true;
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
    QList<PendingRecords::Pending> tables{{TableTous, QString()}};
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
    bool sideFilesWritten = true;
    try {
        writeSideFiles();
    } catch (const PlatformError &e) {
        sideFilesWritten = false;
        if (!Dialogs::question(this,
                               QStringLiteral("Ces fichiers n'ont pas pu être enregistrés :"
                                              "\n\n%1\n\nQuitter quand même ?")
                                   .arg(e.message()),
                               Dialogs::Answer::No))
            return false;
    }
    if (windows_)
        DataCommands::backUpAtExit(*this, *windows_, sideFilesWritten);
    return true;
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
        TFrmSuiviRemboursements window(
            std::make_shared<const FollowUpLines>(FollowUpLines::readView(*TableTous)), view, this);
        window.setDossierCommand([this](QWidget *from, const std::set<qint64> &ticked) {
            ProofCommands::dossier(*this, from, CareViewReader::readRows(*TableTous, ticked));
        });
        window.exec();
        choice = window.choice();
    });
    if (!choice || !TableTous->gotoBookmark(choice->row))
        return;
    enterPageWhenActive(choice->payer == AwaitedPayer::Cpam ? 1 : 2);
}

void TFrmPrincipale::enterPageWhenActive(int page)
{
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
        TFrmBilanAnnuel window(std::make_shared<const YearTotals>(YearTotals::readAll(*TableTous)),
                               this);
        window.exec();
    });
}

void TFrmPrincipale::mnuRechercherClick()
{
    // Found entries are read from the rows held: what is being typed goes there first.
    if (!TableTous->isActive() || !postPendingRecords(false))
        return;
    std::optional<CareSearchHit> choice;
    HandlerGuard::run(this, [this, &choice] {
        TFrmRechercher window(*TableTous, lastSearch_, this);
        window.exec();
        lastSearch_ = window.typed();
        choice = window.choice();
    });
    if (choice)
        HandlerGuard::run(this, [this, &choice] { showFoundEntry(*choice); });
}

void TFrmPrincipale::showFoundEntry(const CareSearchHit &entry)
{
    const ComboSelectors::View current = selectors_->view();
    const CareViewChoice::View wanted =
        CareViewChoice::holding({current.year, current.beneficiary}, entry.date, entry.beneficiary,
                                selectors_->yearItems(), selectors_->beneficiaryItems());
    if (wanted.year != current.year || wanted.beneficiary != current.beneficiary) {
        selectors_->showView({wanted.year, wanted.beneficiary});
        lstListeBeneficiairesClick();
    }
    if (!TableTous->gotoBookmark(entry.row)) {
        // Gone since (another copy of the program on the same folder), or out of view.
        Dialogs::information(this, QStringLiteral("Ce soin n'est plus dans le registre."));
        return;
    }
    enterPageWhenActive(0);
}
