#include "common/ui/qt_screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace common {

namespace {

// The window frame's margins: the window's own once it has been shown, else
// those of the window it belongs to (the same window manager draws both).
QMargins frameMargins(const QWidget* window) {
  const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  for (const QWidget* w : {window, owner}) {
    if (!w || !w->windowHandle()) continue;
    const QMargins m = w->windowHandle()->frameMargins();
    if (!m.isNull()) return m;
  }
  return {};
}

// How a window that was never placed opens: centred over the window it
// belongs to, or beside it.
struct Placement {
  bool beside = false;
  QPointer<const QWidget> keepInView;
};

void fit(QWidget* window, const Placement& placement);

class ScreenFit : public QObject {
 public:
  ScreenFit(QWidget* window, Placement placement) : QObject(window), window_(window), placement_(placement) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous()) fit(window_, placement_);
    return false;
  }

 private:
  QWidget* window_;
  Placement placement_;
};

// The client area of `window` beside `owner`'s frame (see keepBesideOwner).
QRect besideOwner(const QWidget* window, const QWidget* owner, const QWidget* keepInView, const QRect& area,
                  const QMargins& m) {
  const QRect ownerFrame = owner->frameGeometry();
  const QSize frame = window->size().grownBy(m);
  const int roomRight = area.right() - ownerFrame.right();
  const int roomLeft = ownerFrame.left() - area.left();
  if (roomRight >= frame.width() || roomLeft >= frame.width()) {
    const int frameLeft = roomRight >= frame.width() ? ownerFrame.right() + 1 : ownerFrame.left() - frame.width();
    return {QPoint(frameLeft + m.left(), ownerFrame.top() + m.top()), window->size()};
  }
  if (keepInView && keepInView->isVisible()) {
    const QRect kept(keepInView->mapToGlobal(QPoint(0, 0)), keepInView->size());
    // A title bar's height of room below it: window managers that place a
    // first-shown window's client, not its frame, at the position asked for
    // (openbox does) would otherwise put the title bar over its last line.
    if (area.bottom() - kept.bottom() >= frame.height() + m.top())
      return {QPoint(kept.left() + m.left(), kept.bottom() + 1 + 2 * m.top()), window->size()};
  }
  const int frameLeft = roomRight >= roomLeft ? ownerFrame.right() + 1 : ownerFrame.left() - frame.width();
  return {QPoint(frameLeft + m.left(), ownerFrame.top() + m.top()), window->size()};
}

void fit(QWidget* window, const Placement& placement) {
  const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  if (owner && !owner->isVisible()) owner = nullptr;
  // The client area; move() places the frame around it.
  QRect client = window->geometry();
  const bool placed = window->testAttribute(Qt::WA_Moved);
  if (!placed && owner) client.moveCenter(owner->geometry().center());
  QScreen* screen = QGuiApplication::screenAt(client.center());
  if (!screen) screen = owner ? owner->screen() : window->screen();
  if (!screen) return;

  const QMargins m = frameMargins(window);
  if (!placed && owner && placement.beside) {
    client = besideOwner(window, owner, placement.keepInView, screen->availableGeometry(), m);
    if (QScreen* there = QGuiApplication::screenAt(client.center())) screen = there;
  }
  const QRect area = screen->availableGeometry().marginsRemoved(m);
  if (client.width() > area.width() || client.height() > area.height()) {
    window->resize(std::min(client.width(), area.width()), std::min(client.height(), area.height()));
    client.setSize(window->size());
  }
  // The left and top edges win over the right and bottom ones for a window
  // that cannot shrink enough: its title bar stays within reach.
  const int left = std::max(area.left(), std::min(client.left(), area.right() + 1 - client.width()));
  const int top = std::max(area.top(), std::min(client.top(), area.bottom() + 1 - client.height()));
  // A main window that was never placed is left where the window manager
  // puts it, which keeps a window that fits inside the area.
  if (!window->testAttribute(Qt::WA_Moved) && !owner) return;
  window->move(left - m.left(), top - m.top());
}

}  // namespace

void fitOnScreen(QWidget* window) { fit(window, {}); }

void keepOnScreen(QWidget* window) { window->installEventFilter(new ScreenFit(window, {})); }

void keepBesideOwner(QWidget* window, const QWidget* keepInView) {
  window->installEventFilter(new ScreenFit(window, {true, keepInView}));
}

}  // namespace common
