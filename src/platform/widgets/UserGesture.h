#pragma once

#include <Qt>

class QKeyEvent;

// What a key or a focus change means to the data-bound controls, decided in one place.
namespace UserGesture
{

// A key that types a character into an edit (Ctrl and Meta chords are commands).
bool isTyping(const QKeyEvent *event);

// Whether a focus change really leaves the control: another window coming to the front (a
// message box) or a menu opening is not leaving it.
bool leavesControl(Qt::FocusReason reason);

} // namespace UserGesture
