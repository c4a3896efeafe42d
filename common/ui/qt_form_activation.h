#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>

class QEvent;
class QWidget;

namespace common {

// When a window refreshes itself on activation: when the user comes to it
// from another window of the program. Coming back from a message box or a
// dialog over it, or from another program, keeps what was typed into it
// (such as the text a Retain just refused).
//
// A window keeps it as its first data member rather than as a child: adding a
// child sends the window an event, which would reach the window's event()
// before the helper existed.
class FormActivation : public QObject {
 public:
  explicit FormActivation(QWidget* form);
  // For the window's event(): true for an activation to refresh on.
  bool refreshesOn(const QEvent* event) const;

 private:
  QWidget* form_;
  QPointer<QWindow> lastWindow_;  // the last non-modal window that had the focus
};

}  // namespace common
