#pragma once

#include <functional>

class QWidget;

// Runs a user command so that an error ends the command, not the program: a PlatformError (or
// any other exception) is shown in the platform's error box and false is returned.
namespace HandlerGuard
{

bool run(QWidget *parent, const std::function<void()> &handler);

} // namespace HandlerGuard
