#pragma once

#include <QLabel>
#include <QPixmap>

namespace tarnel {

// The title picture that covers the grid from the main window's first
// activation until a click dismisses it.
class TitlePicture : public QLabel {
  Q_OBJECT
 public:
  // Hidden until the first activation shows it.
  explicit TitlePicture(QWidget* parent = nullptr);
  // Draws the picture for `area` (the grid's place) and shows it there:
  // 6 pixels in from the left and right, 24 from the top, 6 from the bottom.
  void showOver(const QRect& area);
  const QPixmap& picture() const { return picture_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace tarnel
