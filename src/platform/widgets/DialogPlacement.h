#pragma once

class QWidget;

// Where the program's dialogs appear: centred on the screen they are shown on, not over their
// owner, which sits in the top-left corner like the main window.
namespace DialogPlacement
{

// Call once the window is shown, when its frame size is known.
void centreOnScreen(QWidget *window);

} // namespace DialogPlacement
