#include "Startup.h"

#include "ParadoxOffer.h"
#include "ProgramLock.h"
#include "TFrmPrincipale.h"
#include "TaloWindows.h"
#include "TfrmLogo.h"

#include "platform/core/FileNames.h"
#include "platform/core/PlatformError.h"
#include "platform/widgets/CursorOverride.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Help.h"
#include "recovery/AutomaticBackup.h"
#include "recovery/RestoreSwap.h"

#include <QApplication>

Startup::Startup(QString programDir) : programDir_(std::move(programDir)) {}

Startup::~Startup()
{
    // The main window takes the other windows, its children, with it; what they point at (the
    // list of windows, the backup's sources) is still there while they go.
    main_.reset();
    windows_.reset();
}

bool Startup::run()
{
    QCoreApplication::setApplicationName(QStringLiteral("Talo 3.0"));
    // Two copies on one directory would undo each other's posts: the second one stops here,
    // before any window, and leaves the first untouched.
    lock_ = std::make_unique<ProgramLock>(programDir_);
    if (lock_->state() == ProgramLock::State::HeldElsewhere) {
        Dialogs::information(nullptr, ProgramLock::alreadyOpenMessage());
        return false;
    }
    // A restore that a crash stopped halfway is finished or undone before anything reads a table.
    try {
        const RestoreSwap::Recovery recovery = RestoreSwap::recover(programDir_);
        if (recovery.outcome != RestoreSwap::Recovery::Outcome::Nothing)
            Dialogs::information(nullptr, RestoreSwap::recoveryMessage(recovery));
    } catch (const PlatformError &e) {
        Dialogs::error(nullptr, e.message());
        return false;
    }
    // An exit cut short may have left the day's copy aside, out of the restore window's sight.
    AutomaticBackup::repair(programDir_);
    ParadoxOffer::run(programDir_);
    {
        const CursorOverride hourglass(Qt::WaitCursor);
        TfrmLogo splash;
        splash.showNow();
        Help::setHelpFile(FileNames::resolve(programDir_, QStringLiteral("Talo.hlp")));
        main_ = std::make_unique<TFrmPrincipale>(programDir_);
        windows_ = TaloWindows::create(*main_);
    }
    return main_->FormShow();
}
