#pragma once

#include <QString>

#include <optional>

class QWidget;
class HelpWindow;

// Opens the program's help file at its contents or at a context number. The help file is an
// HTML document; each context n is the anchor "context-n" and the contents page the anchor
// "contents". One help window serves the whole program. When a modal dialog is running, the
// window is made a child of that dialog so that it stays usable beside it.
namespace Help
{

inline constexpr int Contents = 0;

struct Request {
    int context; // Contents for the contents page
    QString anchor;
};

void setHelpFile(const QString &path);
// The file set last; by default "Talo.hlp" in the program directory.
QString helpFile();

void showContents(QWidget *parent);
void showContext(QWidget *parent, int context);
// F1 anywhere in `window` (a dialog without the data windows' key scheme) opens `context`.
void addHelpKey(QWidget &window, int context);

// "contents" for Contents (and any number below 1), "context-<n>" otherwise.
QString anchorFor(int context);

// Test hooks. While recording, requests are only remembered: no window, no file check.
void startRecording();
void stopRecording();
std::optional<Request> lastRequest();
void clearLastRequest();
// The help window, if one has been opened and not closed by closeWindow().
HelpWindow *window();
void closeWindow();

void request(QWidget *parent, int context);

} // namespace Help
