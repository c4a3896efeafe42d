#include "mainwindow/script_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

#include "common/file_io.h"
#include "mainwindow/script_commands.h"

namespace tarnel {

namespace {

constexpr const char* kScriptFilter = "Lua scripts (*.lua)|*.lua|All files (*.*)|*.*";
constexpr std::uint64_t kMaxScriptBytes = 16u << 20;

class LineNumbers : public QWidget {
 public:
  explicit LineNumbers(TScriptEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->lineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintLineNumbers(event); }

 private:
  TScriptEditor* editor_;
};

std::string baseName(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

}  // namespace

TScriptEditor::TScriptEditor(QWidget* parent) : QPlainTextEdit(parent), numbers_(new LineNumbers(this)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 2);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0)
      numbers_->scroll(0, dy);
    else
      numbers_->update(0, rect.y(), numbers_->width(), rect.height());
  });
  setViewportMargins(lineNumberWidth(), 0, 0, 0);
}

int TScriptEditor::lineNumberWidth() const {
  int digits = 1;
  for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digits;
  return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void TScriptEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect r = contentsRect();
  numbers_->setGeometry(QRect(r.left(), r.top(), lineNumberWidth(), r.height()));
}

void TScriptEditor::paintLineNumbers(QPaintEvent* event) {
  QPainter painter(numbers_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible())
      painter.drawText(0, top, numbers_->width() - 4, fontMetrics().height(), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    top += height;
    block = block.next();
  }
}

TScriptForm::TScriptForm(Session& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
  setObjectName(QStringLiteral("ScriptForm"));
  setWindowTitle(QStringLiteral("Script"));
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  OpenBtn = new QPushButton(QStringLiteral("Open…"), this);
  OpenBtn->setObjectName(QStringLiteral("OpenBtn"));
  SaveBtn = new QPushButton(QStringLiteral("Save…"), this);
  SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
  RunBtn = new QPushButton(QStringLiteral("Run"), this);
  RunBtn->setObjectName(QStringLiteral("RunBtn"));
  RunBtn->setToolTip(QStringLiteral("Run the script on the open game (Ctrl+Return)"));
  FileLbl = new QLabel(this);
  FileLbl->setObjectName(QStringLiteral("FileLbl"));
  for (QPushButton* b : {OpenBtn, SaveBtn, RunBtn}) buttons->addWidget(b);
  buttons->addWidget(FileLbl, 1);
  layout->addLayout(buttons);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  ScriptEdit = new TScriptEditor(splitter);
  ScriptEdit->setObjectName(QStringLiteral("ScriptEdit"));
  ScriptEdit->setPlaceholderText(
      QStringLiteral("-- Lua 5.4 on the game's named fields, for example:\n"
                     "for _, u in ipairs(game.units) do\n"
                     "  if u.side == 0 then u.exp = math.min(u.exp + 10, 100) end\n"
                     "end"));
  OutputMemo = new QPlainTextEdit(splitter);
  OutputMemo->setObjectName(QStringLiteral("OutputMemo"));
  OutputMemo->setReadOnly(true);
  OutputMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  FindingList = new QListWidget(splitter);
  FindingList->setObjectName(QStringLiteral("FindingList"));
  FindingList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  FindingList->setToolTip(QStringLiteral("Findings of warn(); double-click one to select its unit"));
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  splitter->setStretchFactor(2, 1);
  layout->addWidget(splitter, 1);

  connect(OpenBtn, &QPushButton::clicked, this, &TScriptForm::OpenBtnClick);
  connect(SaveBtn, &QPushButton::clicked, this, &TScriptForm::SaveBtnClick);
  connect(RunBtn, &QPushButton::clicked, this, &TScriptForm::RunBtnClick);
  for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* run = new QShortcut(QKeySequence(Qt::CTRL | key), this);
    connect(run, &QShortcut::activated, this, &TScriptForm::RunBtnClick);
  }
  connect(FindingList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int unit = item->data(Qt::UserRole).toInt();
    if (unit >= 0) emit unitChosen(unit);
  });
  showPath();
  resize(640, 560);
}

void TScriptForm::showPath() {
  FileLbl->setText(path_.empty() ? QStringLiteral("(new script)") : QString::fromStdString(path_));
}

bool TScriptForm::loadScript(const std::string& path) {
  const auto bytes = common::readFileBytes(path, kMaxScriptBytes + 1);
  if (!bytes || bytes->size() > kMaxScriptBytes) {
    session_.prompts.message(bytes ? path + " is larger than 16 MiB" : "Could not read " + path, "Error",
                             MessageIcon::Error);
    return false;
  }
  const QByteArray raw(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
  const QString text = QString::fromUtf8(raw);
  if (text.toUtf8() != raw) {
    session_.prompts.message(path + " is not UTF-8 text; save it as UTF-8 first.", "Error", MessageIcon::Error);
    return false;
  }
  ScriptEdit->setPlainText(text);
  path_ = path;
  showPath();
  return true;
}

void TScriptForm::OpenBtnClick() {
  openDialog_.title = "Open Script";
  openDialog_.filter = kScriptFilter;
  openDialog_.defaultExt = "lua";
  if (openDialog_.initialDir.empty()) openDialog_.initialDir = session_.model.dataDir;
  if (!session_.prompts.openDialog(openDialog_)) return;
  loadScript(openDialog_.fileName);
}

void TScriptForm::SaveBtnClick() {
  saveDialog_.title = "Save Script";
  saveDialog_.filter = kScriptFilter;
  saveDialog_.defaultExt = "lua";
  saveDialog_.overwritePrompt = true;
  if (saveDialog_.initialDir.empty()) saveDialog_.initialDir = session_.model.dataDir;
  saveDialog_.fileName = path_;
  if (!session_.prompts.saveDialog(saveDialog_)) return;
  const QByteArray text = ScriptEdit->toPlainText().toUtf8();
  if (!common::writeFileSafely(saveDialog_.fileName, std::string_view(text.constData(), static_cast<std::size_t>(text.size())))) {
    session_.prompts.message("Could not write " + saveDialog_.fileName, "Error", MessageIcon::Error);
    return;
  }
  path_ = saveDialog_.fileName;
  showPath();
}

void TScriptForm::RunBtnClick() {
  const QByteArray text = ScriptEdit->toPlainText().toUtf8();
  const ScriptOutcome out = runScriptCommand(session_, std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                                             path_.empty() ? "Script" : baseName(path_));
  QString shown = QString::fromUtf8(out.output.data(), static_cast<qsizetype>(out.output.size()));
  if (!out.ok()) {
    shown += QString::fromStdString(out.error);
    if (!out.error.ends_with("nothing was changed.") && out.error != "Load a game file first.")
      shown += QStringLiteral("\nNothing was changed.");
  } else if (out.edits.empty()) {
    shown += QStringLiteral("The script finished; it changed no field.");
  } else {
    const auto n = static_cast<int>(out.edits.size());
    shown += QStringLiteral("The script finished: %1 field%2 changed (Edit > Undo takes %3 back).")
                 .arg(n)
                 .arg(n == 1 ? "" : "s")
                 .arg(n == 1 ? "it" : "them");
  }
  OutputMemo->setPlainText(shown);
  FindingList->clear();
  for (const ScriptFinding& f : out.findings) {
    auto* item = new QListWidgetItem(QString::fromStdString(findingLine(f)), FindingList);
    item->setData(Qt::UserRole, f.unit);
  }
}

}  // namespace tarnel
