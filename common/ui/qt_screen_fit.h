#pragma once

class QWidget;

namespace common {

// Keeps a top-level window inside the available area of its screen (the
// desktop less its panels) each time it is shown: a window larger than the
// area shrinks to it as far as its minimum size allows, and a window that
// would reach past an edge moves back in. A window that was never placed
// opens centred over the window it belongs to, as window managers place such
// windows, and then moves in the same way; one that belongs to none is left
// to the window manager.
void keepOnScreen(QWidget* window);

// What keepOnScreen does at each showing, once and now.
void fitOnScreen(QWidget* window);

}  // namespace common
