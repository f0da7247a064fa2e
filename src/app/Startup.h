#pragma once

#include <memory>

class TFrmPrincipale;
struct TaloWindows;

// The program's start: splash with the hourglass, application title and help file, every
// window created in its order, then the main window shown behind its password gate.
class Startup
{
public:
    Startup();
    ~Startup();

    // Runs until the main window is shown; false when the password gate ended the program.
    bool run();
    TFrmPrincipale &mainWindow() { return *main_; }

private:
    std::unique_ptr<TFrmPrincipale> main_;
    std::unique_ptr<TaloWindows> windows_;
};
