#include "DialogPlacement.h"

#include <QGuiApplication>

#include <QScreen>
#include <QWidget>

void DialogPlacement::centreOnScreen(QWidget *window)
{
    const QScreen *shownOn = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    window->move(frame.topLeft());
}
