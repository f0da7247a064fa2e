#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class Startup;
class TFrmPrincipale;
class TaloApplication;

// The program started in this process over a program directory, as its executable starts it
// (French conventions, scripted dialogs, every window created, the main window shown and its
// events handled), for a bench to time and drive. One per process.
class BenchProgram
{
public:
    BenchProgram(const char *name, const QString &folder);
    ~BenchProgram();

    // False when the program ended at once (another copy holds the directory).
    bool started() const { return started_; }
    TFrmPrincipale &window();

private:
    int argc_ = 1;
    QByteArray name_;
    char *argv_[2] = {nullptr, nullptr};
    // Declared before the windows: they go first.
    std::unique_ptr<TaloApplication> app_;
    std::unique_ptr<Startup> startup_;
    bool started_ = false;
};
