#include "mainwindow/qt_help_viewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tarnel {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Tarnel Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(4, 4, 4, 0);
  BackBtn = new QPushButton(QStringLiteral("Back"), this);
  HomeBtn = new QPushButton(QStringLiteral("Home"), this);
  buttons->addWidget(BackBtn);
  buttons->addWidget(HomeBtn);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(false);
  BackBtn->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, BackBtn, &QPushButton::setEnabled);
  connect(BackBtn, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  // Home is the contents page, where the viewer opened.
  connect(HomeBtn, &QPushButton::clicked, this, [this] {
    browser_->home();
    browser_->scrollToAnchor(QStringLiteral("contents"));
  });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
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
