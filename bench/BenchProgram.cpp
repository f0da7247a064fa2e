#include "BenchProgram.h"

#include "app/Startup.h"
#include "app/TaloApplication.h"
#include "platform/widgets/Dialogs.h"

#include <QCoreApplication>

BenchProgram::BenchProgram(const char *name, const QString &folder) : name_(name)
{
    argv_[0] = name_.data();
    app_ = std::make_unique<TaloApplication>(argc_, argv_);
    TaloApplication::applyFrenchConventions();
    Dialogs::startScripting();
    startup_ = std::make_unique<Startup>(folder);
    started_ = startup_->run();
    if (started_)
        QCoreApplication::processEvents();
}

BenchProgram::~BenchProgram() = default;

TFrmPrincipale &BenchProgram::window()
{
    return startup_->mainWindow();
}
