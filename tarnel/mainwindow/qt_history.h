#pragma once

#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <cstddef>
#include <utility>
#include <vector>

#include "model/undo.h"

class QAction;
class QWidget;

namespace tarnel {

// The open game's history on Qt's undo stack: each step a command records
// becomes one QUndoCommand named by its label. Keeps at most kMaxSteps steps
// and kMaxMemory bytes of stored differences, dropping the oldest.
//
// It makes the Edit menu's "Undo" and "Redo": their texts name the step,
// their keys (the platform's, and Ctrl+Y for Redo too) work in every window
// of Tarnel, and what is being typed into a grid cell is stored as a step of
// its own before the history moves.
class GameHistory : public QObject, public UndoRecorder {
  Q_OBJECT
 public:
  static constexpr int kMaxSteps = 500;
  static constexpr std::size_t kMaxMemory = std::size_t{64} << 20;

  // Attaches itself to the session as its recorder.
  explicit GameHistory(Session& session, QObject* parent = nullptr);
  ~GameHistory() override;

  QUndoStack* stack() { return &stack_; }
  // Made on first use (the history itself needs no GUI).
  QAction* undoAction();
  QAction* redoAction();
  // The Edit menu's commands: the typed cell is stored, then the step undone
  // (or redone).
  void undo();
  void redo();
  // Inside `area` (the grid) a line editor opens on every current cell; with
  // nothing of its own to undo or redo it leaves the keys to the history.
  void passIdleEditorKeys(QWidget* area);
  // Bytes the steps on the stack hold.
  std::size_t memory() const;
  void setMemoryLimit(std::size_t bytes) { memoryLimit_ = bytes; }

  void record(UndoStep step) override;
  void amend(UndoStep change) override;
  void clear() override;
  void markClean() override;
  bool isClean() const override { return stack_.isClean(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class StepCommand;
  void push(UndoStep step);
  void amendNow(UndoStep change);
  void pushDeferred();
  void trim();
  void followCleanPoint(bool clean);
  bool idleEditor(QObject* widget, bool redo) const;
  void makeActions();

  Session& session_;
  QUndoStack stack_;
  std::size_t memoryLimit_ = kMaxMemory;
  bool replaying_ = false;  // commands pushed or moved without touching the game
  // A step is being undone or redone: what a view stores meanwhile (an editor
  // committing as the selection moves) waits, so that nothing merges into,
  // trims away or throws out the step the stack is moving over.
  bool restoring_ = false;
  std::vector<std::pair<bool, UndoStep>> deferred_;  // (amend?, step)
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  QPointer<QWidget> editorArea_;
};

}  // namespace tarnel
