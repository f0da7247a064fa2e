#include "KeyPreview.h"

#include "HandlerGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    // A key is delivered first to the focused widget, then to its parents if ignored: look at
    // it once, on its first delivery, and only for this window (not its message boxes).
    QWidget *focused = QApplication::focusWidget();
    if (widget != (focused ? focused : window_) || widget->window() != window_)
        return false;
    bool consumed = false;
    const bool handled = HandlerGuard::run(
        window_, [&] { consumed = handler_(focused, static_cast<QKeyEvent *>(event)); });
    // A key whose command failed (its error already shown) goes no further: passed on, it
    // would reach the window again once the error box has moved the focus, and fail twice.
    return consumed || !handled;
}
