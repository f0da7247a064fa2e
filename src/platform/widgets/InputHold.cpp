#include "InputHold.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

InputHold::InputHold(QWidget *allowed, std::function<void()> escape)
    : allowed_(allowed), escape_(std::move(escape))
{
    qApp->installEventFilter(this);
}

InputHold::~InputHold()
{
    qApp->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    const bool elsewhere = !widget || widget->window() != allowed_;
    const bool escape =
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    if (escape && !elsewhere) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            escape_();
        return true;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as the widget's own key, so that no shortcut fires; the key press that
        // follows is then dropped below.
        if (elsewhere)
            event->accept();
        return elsewhere;
    case QEvent::Shortcut: // a shortcut's owner may be an action, not a widget
        return elsewhere;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        if (widget && elsewhere) {
            event->ignore();
            return true;
        }
        return false;
    case QEvent::Close: // the window manager's close box, not the program's own closing
        if (widget && elsewhere && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}
