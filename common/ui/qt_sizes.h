#pragma once

class QLineEdit;
class QString;

namespace common {

// The width a line edit needs to show `widest` whole in its font and style,
// frame and margins included.
int lineEditWidthFor(const QLineEdit& edit, const QString& widest);

// The width a top-level window needs for its title bar to show `title`
// whole: the title in the title bar's font, bold as many window managers
// draw it, and room for the frame's icon and its three buttons.
int titleBarWidth(const QString& title);

}  // namespace common
