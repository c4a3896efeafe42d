#include "common/ui/qt_screen_fit.h"

#include <QApplication>
#include <QEvent>
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

class ScreenFit : public QObject {
 public:
  explicit ScreenFit(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous()) fitOnScreen(window_);
    return false;
  }

 private:
  QWidget* window_;
};

}  // namespace

void fitOnScreen(QWidget* window) {
  const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  if (owner && !owner->isVisible()) owner = nullptr;
  // The client area; move() places the frame around it.
  QRect client = window->geometry();
  if (!window->testAttribute(Qt::WA_Moved) && owner) client.moveCenter(owner->geometry().center());
  QScreen* screen = QGuiApplication::screenAt(client.center());
  if (!screen) screen = owner ? owner->screen() : window->screen();
  if (!screen) return;

  const QMargins m = frameMargins(window);
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

void keepOnScreen(QWidget* window) { window->installEventFilter(new ScreenFit(window)); }

}  // namespace common
