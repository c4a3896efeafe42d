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

// keepOnScreen for a window that works beside the one it belongs to (a chart
// following that window's fields, a list selecting in its grid): never
// placed, it opens beside that window, right of it where the area has room
// for it, else left of it, its top level with that window's. Where neither
// side has room it opens below `keepInView` (the part of that window it must
// not hide) when it fits there, else on the side with more room; then it
// moves in as keepOnScreen's windows do.
void keepBesideOwner(QWidget* window, const QWidget* keepInView = nullptr);

// What keepOnScreen does at each showing, once and now.
void fitOnScreen(QWidget* window);

}  // namespace common
