#include "sidefiles/comment_form.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "common/ui/qt_form_activation.h"
#include "model/session.h"
#include "sidefiles/comment_files.h"

namespace tarnel {

namespace {
constexpr int kMemoColumns = 41;
constexpr int kMemoLines = 5;
}  // namespace

TCommentForm::TCommentForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
  setObjectName(QStringLiteral("CommentForm"));
  setWindowTitle(QStringLiteral("Comment"));

  CommentMemo = new QPlainTextEdit(this);
  CommentMemo->setObjectName(QStringLiteral("CommentMemo"));
  CommentMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  CommentMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  CommentMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // About 41 characters to a line and 5 lines visible.
  const QFontMetrics metrics(CommentMemo->font());
  const int frame = 2 * CommentMemo->frameWidth() + 2 * static_cast<int>(CommentMemo->document()->documentMargin());
  CommentMemo->setFixedSize(kMemoColumns * metrics.horizontalAdvance(QLatin1Char('M')) + frame +
                                CommentMemo->verticalScrollBar()->sizeHint().width(),
                            kMemoLines * metrics.lineSpacing() + frame);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(CommentMemo);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  FormCreate();
}

bool TCommentForm::event(QEvent* e) {
  if (activation_.refreshesOn(e)) FormActivate();
  return QWidget::event(e);
}

void TCommentForm::FormCreate() { FormActivate(); }

void TCommentForm::FormActivate() {
  setMemoText(QString::fromStdString(commentMemoText(session_.model.commentText())));
}

std::string TCommentForm::memoText() const {
  // The raw text: the plain-text conversion turns no-break spaces into
  // blanks. Blocks (one per line) are joined by line feeds.
  QString text = CommentMemo->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text.toStdString();
}

void TCommentForm::setMemoText(const QString& text) { CommentMemo->setPlainText(text); }

}  // namespace tarnel
