// Drop-down lists that open at their box under every window manager.
//
// A combo box places its list from where Qt believes the box's window is.
// Under some X11 window managers (seen with openbox) Qt can keep a stale
// position for a frameless window it has just shown, the window's corner
// instead of its place on the screen, and every list then opens that far
// up and to the left of its box. The pointer tells the truth: the position
// on the screen of a press, a move or the pointer entering the window, less
// its position in the window, is where the window really is.
#pragma once

class QWidget;

namespace quillmere {

// From now on, a mouse press, a pointer move or the pointer entering
// `window` (a top-level widget) that finds the window elsewhere than Qt
// believes moves Qt's idea of its position to the place the pointer shows,
// before the event is handled, so a list opened afterwards (also by that
// press) opens at its box. The window itself does not move. Differences of a
// pixel are left alone (scaled screens round). Nothing happens once `window`
// is destroyed.
void keepPopupsAtTheirBoxes(QWidget* window);

}  // namespace quillmere
