#pragma once

#include <Qt>

// Shows a cursor over the whole program while it lives (the hourglass while a command works)
// and puts the previous one back however the scope ends, a constructor that throws included.
class CursorOverride
{
public:
    // OverAnother: only when another override is shown, as the arrow over a window the user
    // works in while a command that opened it still shows the hourglass.
    enum class When { Always, OverAnother };

    explicit CursorOverride(Qt::CursorShape shape, When when = When::Always);
    ~CursorOverride();
    CursorOverride(const CursorOverride &) = delete;
    CursorOverride &operator=(const CursorOverride &) = delete;

private:
    bool active_;
};
