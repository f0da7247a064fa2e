#include "Help.h"

#include "Dialogs.h"
#include "HelpWindow.h"
#include "platform/core/FileNames.h"
#include "platform/core/PlatformMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>

namespace
{

struct State {
    QString file;
    bool recording = false;
    std::optional<Help::Request> last;
    QPointer<HelpWindow> window;
};

State &state()
{
    static State s;
    return s;
}

// The help file as it exists on disk, its name matched without regard to case.
QString resolvedHelpFile()
{
    const QFileInfo info(Help::helpFile());
    return FileNames::resolve(info.absolutePath(), info.fileName());
}

// The window that must own the help window: a running modal dialog blocks every window that
// is not its descendant, so the help opened from such a dialog has to belong to it.
QWidget *ownerFor(QWidget *parent)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return parent ? parent->window() : nullptr;
}

} // namespace

void Help::setHelpFile(const QString &path)
{
    state().file = path;
}

void Help::addHelpKey(QWidget &window, int context)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    QObject::connect(key, &QShortcut::activated, &window,
                     [&window, context] { showContext(&window, context); });
}

QString Help::helpFile()
{
    const QString &file = state().file;
    return file.isEmpty() ? FileNames::programDirectory() + QStringLiteral("Talo.hlp") : file;
}

void Help::showContents(QWidget *parent)
{
    request(parent, Contents);
}

void Help::showContext(QWidget *parent, int context)
{
    request(parent, context);
}

QString Help::anchorFor(int context)
{
    if (context < 1)
        return QStringLiteral("contents");
    return QStringLiteral("context-%1").arg(context);
}

void Help::request(QWidget *parent, int context)
{
    State &s = state();
    s.last = Request{context < 1 ? Contents : context, anchorFor(context)};
    if (s.recording)
        return;

    const QString path = resolvedHelpFile();
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        Dialogs::error(parent, PlatformMessages::helpFileMissing(shownPath));
        return;
    }
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        Dialogs::error(parent, PlatformMessages::helpFileUnreadable(shownPath));
        return;
    }
    // An old binary help file left in the folder would show as garbage: say so instead.
    if (!file.read(4096).toLower().contains("<html")) {
        Dialogs::error(parent, PlatformMessages::helpFileNotHtml(shownPath));
        return;
    }
    file.close();

    QWidget *owner = ownerFor(parent);
    if (!s.window) {
        s.window = new HelpWindow(owner);
        // It may end up without a parent to delete it.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, s.window.data(),
                         &QObject::deleteLater);
    } else if (owner != s.window.data() && s.window->parentWidget() != owner) {
        const QRect geometry = s.window->geometry();
        s.window->setParent(owner, s.window->windowFlags());
        s.window->setGeometry(geometry);
    }
    HelpWindow *window = s.window.data();
    window->placeOnScreen(!window->isVisible() && !window->testAttribute(Qt::WA_Moved));
    window->show();
    window->placeOnScreen(false);
    window->open(path, s.last->anchor);
    window->raise();
    window->activateWindow();
}

void Help::startRecording()
{
    State &s = state();
    s.recording = true;
    s.last.reset();
}

void Help::stopRecording()
{
    State &s = state();
    s.recording = false;
    s.last.reset();
}

std::optional<Help::Request> Help::lastRequest()
{
    return state().last;
}

void Help::clearLastRequest()
{
    state().last.reset();
}

HelpWindow *Help::window()
{
    return state().window.data();
}

void Help::closeWindow()
{
    State &s = state();
    if (s.window) {
        // Its owner, if any, would delete it later; it goes now, as a closed window does.
        s.window->setAttribute(Qt::WA_DeleteOnClose);
        s.window->close();
    }
    s.window.clear();
}
