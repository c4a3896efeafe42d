#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace tarnel {

// The help viewer: a window that shows the help file, an HTML document, and
// follows its links.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Shows the file at its contents page; false when it cannot be read.
  bool openContents(const QString& helpFile);

  QTextBrowser* browser() const { return browser_; }

  QPushButton* BackBtn;
  QPushButton* HomeBtn;

 private:
  QTextBrowser* browser_;
};

}  // namespace tarnel
