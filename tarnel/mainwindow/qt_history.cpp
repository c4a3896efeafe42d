#include "mainwindow/qt_history.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QScopedValueRollback>
#include <vector>

namespace tarnel {

namespace {
constexpr int kCellEditId = 1;
}

// One step on the stack. The command has already run when its step is
// pushed, so the push's redo does nothing.
class StepCommand : public QUndoCommand {
 public:
  StepCommand(GameHistory& history, UndoStep step)
      : QUndoCommand(QString::fromStdString(step.label())), history_(history), step_(std::move(step)) {}

  UndoStep& step() { return step_; }

  void undo() override {
    if (!history_.replaying_) restore(false);
  }
  void redo() override {
    if (pushed_ && !history_.replaying_) restore(true);
    pushed_ = true;
  }
  // Edits of one grid cell in a row merge into one step.
  int id() const override { return !history_.replaying_ && step_.singleCell() ? kCellEditId : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    const UndoStep& later = static_cast<const StepCommand*>(other)->step_;
    if (later.singleCell() != step_.singleCell()) return false;
    step_.append(later);
    // Typed back to what it was: the step goes.
    setObsolete(step_.empty());
    return true;
  }

 private:
  void restore(bool after) {
    const QScopedValueRollback<bool> restoring(history_.restoring_, true);
    restoreStep(history_.session_, step_, after);
  }

  GameHistory& history_;
  UndoStep step_;
  bool pushed_ = false;
};

namespace {
StepCommand* stepAt(const QUndoStack& stack, int index) {
  // Only StepCommands are ever pushed.
  return static_cast<StepCommand*>(const_cast<QUndoCommand*>(stack.command(index)));
}
}  // namespace

GameHistory::GameHistory(Session& session, QObject* parent) : QObject(parent), session_(session) {
  stack_.setUndoLimit(kMaxSteps);
  session_.recorder = this;
  connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) { followCleanPoint(clean); });
  // The stack has finished moving when its index changes.
  connect(&stack_, &QUndoStack::indexChanged, this, [this] { pushDeferred(); });
}

QAction* GameHistory::undoAction() {
  makeActions();
  return undoAction_;
}

QAction* GameHistory::redoAction() {
  makeActions();
  return redoAction_;
}

void GameHistory::makeActions() {
  if (undoAction_) return;
  undoAction_ = stack_.createUndoAction(this, QStringLiteral("Undo"));
  redoAction_ = stack_.createRedoAction(this, QStringLiteral("Redo"));
  undoAction_->setObjectName(QStringLiteral("Undo1"));
  redoAction_->setObjectName(QStringLiteral("Redo1"));
  disconnect(undoAction_, &QAction::triggered, &stack_, &QUndoStack::undo);
  disconnect(redoAction_, &QAction::triggered, &stack_, &QUndoStack::redo);
  connect(undoAction_, &QAction::triggered, this, &GameHistory::undo);
  connect(redoAction_, &QAction::triggered, this, &GameHistory::redo);
  // A text field being typed in takes its standard keys for its own undo.
  undoAction_->setShortcuts(QKeySequence::Undo);
  QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
  if (const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y); !redoKeys.contains(ctrlY)) redoKeys.append(ctrlY);
  redoAction_->setShortcuts(redoKeys);
  for (QAction* a : {undoAction_, redoAction_}) a->setShortcutContext(Qt::ApplicationShortcut);
}

void GameHistory::undo() {
  commitCellEditor(session_);
  stack_.undo();
  pushDeferred();
}

void GameHistory::redo() {
  commitCellEditor(session_);
  stack_.redo();
  pushDeferred();
}

void GameHistory::passIdleEditorKeys(QWidget* area) {
  editorArea_ = area;
  qApp->installEventFilter(this);
}

bool GameHistory::idleEditor(QObject* widget, bool redo) const {
  auto* line = qobject_cast<QLineEdit*>(widget);
  return line && editorArea_ && editorArea_->isAncestorOf(line) &&
         !(redo ? line->isRedoAvailable() : line->isUndoAvailable());
}

namespace {
// Ctrl+Y where the platform's redo keys lack it: text fields know nothing of
// it, so a writable one is given its own redo here.
bool redoInTextField(QObject* widget, const QKeySequence& keys) {
  if (keys != QKeySequence(Qt::CTRL | Qt::Key_Y) || QKeySequence::keyBindings(QKeySequence::Redo).contains(keys))
    return false;
  if (auto* line = qobject_cast<QLineEdit*>(widget); line && !line->isReadOnly())
    line->redo();
  else if (auto* text = qobject_cast<QPlainTextEdit*>(widget); text && !text->isReadOnly())
    text->redo();
  else if (auto* rich = qobject_cast<QTextEdit*>(widget); rich && !rich->isReadOnly())
    rich->redo();
  else
    return false;
  return true;
}
}  // namespace

bool GameHistory::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && undoAction_) {
    const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
    if (!idleEditor(watched, true) && redoInTextField(watched, keys)) {
      event->accept();
      return true;
    }
    if ((undoAction_->shortcuts().contains(keys) && idleEditor(watched, false)) ||
        (redoAction_->shortcuts().contains(keys) && idleEditor(watched, true))) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

GameHistory::~GameHistory() {
  if (session_.recorder == this) session_.recorder = nullptr;
}

std::size_t GameHistory::memory() const {
  std::size_t total = 0;
  for (int k = 0; k < stack_.count(); ++k) total += stepAt(stack_, k)->step().memory();
  return total;
}

void GameHistory::record(UndoStep step) {
  if (restoring_)
    deferred_.emplace_back(false, std::move(step));
  else
    push(std::move(step));
}

void GameHistory::amend(UndoStep change) {
  if (restoring_)
    deferred_.emplace_back(true, std::move(change));
  else
    amendNow(std::move(change));
}

void GameHistory::pushDeferred() {
  if (restoring_) return;
  while (!deferred_.empty()) {
    auto [amending, step] = std::move(deferred_.front());
    deferred_.erase(deferred_.begin());
    if (amending)
      amendNow(std::move(step));
    else
      push(std::move(step));
  }
}

void GameHistory::push(UndoStep step) {
  stack_.push(new StepCommand(*this, std::move(step)));
  trim();
}

void GameHistory::amendNow(UndoStep change) {
  // At the first state no step leads here to take it.
  if (stack_.index() > 0) stepAt(stack_, stack_.index() - 1)->step().append(change);
  std::vector<UndoStep*> later;
  for (int k = stack_.index(); k < stack_.count(); ++k) later.push_back(&stepAt(stack_, k)->step());
  UndoStep::rebase(change, later);
  trim();
}

void GameHistory::clear() {
  deferred_.clear();
  stack_.clear();
}

void GameHistory::markClean() { stack_.setClean(); }

void GameHistory::trim() {
  std::size_t total = memory();
  if (total <= memoryLimit_ || stack_.count() <= 1) return;
  // QUndoStack drops old commands only by its count limit: the stack is
  // built anew from the newest steps that fit, its index and clean point
  // carried over.
  const int count = stack_.count();
  const int index = stack_.index();
  const int clean = stack_.cleanIndex();
  int drop = 0;
  while (total > memoryLimit_ && drop < count - 1) total -= stepAt(stack_, drop++)->step().memory();
  std::vector<UndoStep> kept;
  for (int k = drop; k < count; ++k) kept.push_back(std::move(stepAt(stack_, k)->step()));
  replaying_ = true;
  stack_.clear();
  for (UndoStep& step : kept) stack_.push(new StepCommand(*this, std::move(step)));
  if (clean >= drop) {
    stack_.setIndex(clean - drop);
    stack_.setClean();
  } else {
    stack_.resetClean();
  }
  stack_.setIndex(std::max(index - drop, 0));
  replaying_ = false;
  followCleanPoint(stack_.isClean());
}

void GameHistory::followCleanPoint(bool clean) {
  if (clean)
    session_.setModified(false);
  else
    session_.markModified();
}

}  // namespace tarnel
