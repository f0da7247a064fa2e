#include "UserGesture.h"

#include <QKeyEvent>

bool UserGesture::isTyping(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    return !(mods & Qt::ControlModifier) && !(mods & Qt::MetaModifier);
}

bool UserGesture::leavesControl(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}
