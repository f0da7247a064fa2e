#pragma once

#include "platform/core/PlatformError.h"

#include <QString>

// The text of the PlatformError thrown by `action`, or "<none>" if nothing was thrown.
template <typename Action> QString thrownMessage(Action action)
{
    try {
        action();
    } catch (const PlatformError &error) {
        return error.message();
    }
    return QStringLiteral("<none>");
}
