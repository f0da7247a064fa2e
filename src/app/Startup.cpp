#include "Startup.h"

#include "TFrmPrincipale.h"
#include "TaloWindows.h"
#include "TfrmLogo.h"

#include "platform/FileNames.h"
#include "platform/Help.h"

#include <QApplication>

Startup::Startup() = default;

Startup::~Startup()
{
    // The other windows are the main window's children: they go first.
    windows_.reset();
    main_.reset();
}

bool Startup::run()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    {
        TfrmLogo splash;
        splash.showNow();
        QCoreApplication::setApplicationName(QStringLiteral("Talo 3.0"));
        const QString programDir = FileNames::programDirectory();
        Help::setHelpFile(FileNames::resolve(programDir, QStringLiteral("Talo.hlp")));
        main_ = std::make_unique<TFrmPrincipale>(programDir);
        windows_ = TaloWindows::create(*main_);
    }
    QApplication::restoreOverrideCursor();
    main_->show();
    return main_->FormShow();
}
