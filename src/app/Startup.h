#pragma once

#include <QString>

#include <memory>

class ProgramLock;
class TFrmPrincipale;
struct TaloWindows;

// The program's start: the program directory claimed for this copy alone, splash with the
// hourglass, application title and help file, every window created in its order, then the
// main window shown behind its password gate.
class Startup
{
public:
    // `programDir`: the executable's folder in the program; tests give their own.
    explicit Startup(QString programDir);
    ~Startup();

    // Runs until the main window is shown; false when the program is to end at once (another
    // copy has the directory, or the password gate refused).
    bool run();
    TFrmPrincipale &mainWindow() { return *main_; }

private:
    QString programDir_;
    std::unique_ptr<ProgramLock> lock_;
    std::unique_ptr<TFrmPrincipale> main_;
    std::unique_ptr<TaloWindows> windows_;
};
