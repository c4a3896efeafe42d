#include "common/ui/qt_form_activation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace common {

FormActivation::FormActivation(QWidget* form) : form_(form) {
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
    if (w && w->type() == Qt::Window && w->modality() == Qt::NonModal) lastWindow_ = w;
  });
}

bool FormActivation::refreshesOn(const QEvent* event) const {
  // Activation comes before the application hears of the new focus window,
  // so the last one is still the window that was active before.
  return event->type() == QEvent::WindowActivate && (!lastWindow_ || lastWindow_ != form_->windowHandle());
}

}  // namespace common
