#include "mainwindow/qt_help_viewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tarnel {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Tarnel Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(false);
  resize(640, 600);
}

bool HelpViewer::openContents(const QString& helpFile) {
  const QFileInfo info(helpFile);
  if (!info.isFile() || !info.isReadable()) return false;
  QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
  url.setFragment(QStringLiteral("contents"));
  // The file's extension says nothing of its content; it is HTML.
  browser_->setSource(url, QTextDocument::HtmlResource);
  browser_->scrollToAnchor(QStringLiteral("contents"));
  return true;
}

}  // namespace tarnel
