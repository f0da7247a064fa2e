#include "CursorOverride.h"

#include <QCursor>
#include <QGuiApplication>

CursorOverride::CursorOverride(Qt::CursorShape shape, When when)
    : active_(when == When::Always || QGuiApplication::overrideCursor() != nullptr)
{
    if (active_)
        QGuiApplication::setOverrideCursor(shape);
}

CursorOverride::~CursorOverride()
{
    if (active_)
        QGuiApplication::restoreOverrideCursor();
}
