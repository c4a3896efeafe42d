#pragma once

#include <QWidget>
#include <string>

#include "common/ui/qt_form_activation.h"

class QPlainTextEdit;

namespace tarnel {

class Session;

// "Comment": the comment buffer's text in CommentMemo, set anew each time the
// user comes to the window from another window of the program; "Save Comment File" writes what the memo holds.
class TCommentForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCommentForm(Session& session, QWidget* parent = nullptr);

  QPlainTextEdit* CommentMemo;

  void FormCreate();
  void FormActivate();

  // The memo's text as typed (UTF-8, line feeds).
  std::string memoText() const;
  // Shows a text in the memo (UTF-8, line feeds).
  void setMemoText(const QString& text);

 protected:
  bool event(QEvent* e) override;

 private:
  // First of the members: the window's event() asks it from the first event
  // on, and building a child of the window already sends one.
  common::FormActivation activation_{this};
  Session& session_;
};

}  // namespace tarnel
