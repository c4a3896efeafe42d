#include "common/ui/qt_sizes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace common {

int lineEditWidthFor(const QLineEdit& edit, const QString& widest) {
  // As QLineEdit sizes itself: the text, its margins and the cursor's room,
  // then the style's frame around them.
  constexpr int kInnerMargin = 2;  // QLineEdit's own on each side
  edit.ensurePolished();
  const QMargins text = edit.textMargins();
  const QMargins contents = edit.contentsMargins();
  const int inner = edit.fontMetrics().horizontalAdvance(widest) + 2 * kInnerMargin + 1 + text.left() +
                    text.right() + contents.left() + contents.right();
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.rect = edit.rect();
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  option.features = QStyleOptionFrame::None;
  return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, edit.fontMetrics().height()), &edit)
      .width();
}

int titleBarWidth(const QString& title) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const QFontMetrics fm(font);
  // Icon, minimise, maximise and close, each about a square of the bar's
  // height with some padding.
  return fm.horizontalAdvance(title) + 4 * (fm.height() + 12);
}

}  // namespace common
