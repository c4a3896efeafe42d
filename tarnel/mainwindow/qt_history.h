#pragma once

#include <QObject>
#include <QUndoStack>
#include <cstddef>

#include "model/undo.h"

namespace tarnel {

// The open game's history on Qt's undo stack: each step a command records
// becomes one QUndoCommand named by its label. Keeps at most kMaxSteps steps
// and kMaxMemory bytes of stored differences, dropping the oldest.
class GameHistory : public QObject, public UndoRecorder {
  Q_OBJECT
 public:
  static constexpr int kMaxSteps = 500;
  static constexpr std::size_t kMaxMemory = std::size_t{64} << 20;

  // Attaches itself to the session as its recorder.
  explicit GameHistory(Session& session, QObject* parent = nullptr);
  ~GameHistory() override;

  QUndoStack* stack() { return &stack_; }
  // Bytes the steps on the stack hold.
  std::size_t memory() const;
  void setMemoryLimit(std::size_t bytes) { memoryLimit_ = bytes; }

  void record(UndoStep step) override;
  void amend(UndoStep change) override;
  void clear() override;
  void markClean() override;
  bool isClean() const override { return stack_.isClean(); }

 private:
  friend class StepCommand;
  void trim();
  void followCleanPoint(bool clean);

  Session& session_;
  QUndoStack stack_;
  std::size_t memoryLimit_ = kMaxMemory;
  bool replaying_ = false;  // commands pushed or moved without touching the game
};

}  // namespace tarnel
