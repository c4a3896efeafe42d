#include "mainwindow/qt_title_picture.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "mainwindow/about.h"

namespace tarnel {

namespace {

// Arial whose character cell (ascent + descent) is `cellHeight` pixels.
QFont titleFont(int cellHeight) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(cellHeight);
  const int height = QFontMetrics(font).height();
  if (height > cellHeight) font.setPixelSize(std::max(1, cellHeight * cellHeight / height));
  return font;
}

// Black, a green border drawn with a 10-pixel pen, the title lines centred
// in yellow. Drawn at the screen's own resolution (`ratio` device pixels to a
// pixel of the layout), so that a scaled desktop shows it sharp rather than
// magnified.
QPixmap drawTitlePicture(int width, int height, qreal ratio) {
  QPixmap picture(qRound(width * ratio), qRound(height * ratio));
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::black);
  QPainter p(&picture);
  p.setPen(QPen(QColor(0, 128, 0), 10));
  p.setBrush(Qt::black);
  p.drawRect(QRectF(0, 0, width, height));
  p.setPen(QColor(255, 255, 0));
  for (const TitleLine& line : kTitleLines) {
    const QFont font = titleFont(line.height);
    const QFontMetrics metrics(font);
    const QString text = QString::fromLatin1(line.text);
    p.setFont(font);
    p.drawText(centredLeft(width, metrics.horizontalAdvance(text)), line.top + metrics.ascent(), text);
  }
  return picture;
}

}  // namespace

TitlePicture::TitlePicture(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("OpenImage"));
  hide();
}

void TitlePicture::showOver(const QRect& area) {
  setGeometry(area.left() + 6, area.top() + 24, area.width() - 12, area.height() - 30);
  if (width() > 0 && height() > 0) picture_ = drawTitlePicture(width(), height(), devicePixelRatioF());
  setPixmap(picture_);
  show();
  raise();
}

void TitlePicture::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit clicked();
}

}  // namespace tarnel
