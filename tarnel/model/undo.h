#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/session.h"

namespace tarnel {

// The values kept beside the image that a command may change: the section
// directory and generation, the values the grid fill derives, the side
// selector's items, the skill classes and the MOB tables read for the sides'
// MOB numbers (kept, not read again, so that an undo gives back what was
// shown even when the files changed since). The comment is left out: no game
// command changes it, and the comment file has its own Load and Save.
bool operator==(const MobTables& a, const MobTables& b);

struct BesideImage {
  std::array<std::int32_t, kDirectorySize> sectionOffset{};
  std::array<std::int32_t, kDirectorySize> sectionLength{};
  std::array<std::int32_t, kDirectorySize> sectionId{};
  std::int32_t v10Length = 0;
  const GenerationLayout* layout = nullptr;
  GameFileKind loaded = GameFileKind::None;
  bool negativeLength = false;
  int unitCount = 0;
  std::array<std::string, 2> sideNames;
  std::array<int, 2> sideNation{};
  std::array<int, 2> sideMob{};
  std::array<std::string, 2> sideItems;
  std::array<char, kUnitCapacity> classes{};
  MobTables mob;

  bool operator==(const BesideImage&) const = default;
};

// One step of the open game's history: what a command changed, stored as
// the differences only (changed byte ranges of the image with their old and
// new bytes, changed cells of the unit grid, the values beside the image when
// they changed) under the command's label.
class UndoStep {
 public:
  UndoStep() = default;
  UndoStep(UndoStep&&) noexcept = default;
  UndoStep& operator=(UndoStep&&) noexcept = default;
  UndoStep(const UndoStep& other);
  UndoStep& operator=(const UndoStep& other);

  const std::string& label() const { return label_; }
  // True when the command changed nothing.
  bool empty() const;
  // Bytes of memory the step holds.
  std::size_t memory() const;
  // The unit the step touched first (its grid row, or the record its first
  // changed byte belongs to), or -1.
  int unit() const { return unit_; }
  // The one grid cell (column, row) the step changed, when that is all it
  // changed: such steps of the same cell merge.
  std::optional<std::pair<int, int>> singleCell() const;

  // Puts the document as it was before the step, or after it.
  void apply(Session& session, bool after) const;
  // This step followed by `later`, as one step under this step's label;
  // what `later` changes back nets out.
  void append(const UndoStep& later);
  // `change` joined a step before the `later` ones (which were undone): the
  // first of them that stores an image byte `change` changed takes its new
  // value as the byte's old one, so undoing them leads back to the amended
  // state.
  static void rebase(const UndoStep& change, const std::vector<UndoStep*>& later);

 private:
  friend class Transaction;
  struct ByteRun {
    std::uint32_t offset;
    std::uint32_t length;  // `length` old bytes, then `length` new ones, in bytes_
    std::size_t at;
  };
  struct Cell {
    int col;
    int row;
    std::string before;
    std::string after;
  };
  std::vector<Cell> cells() const;
  bool setOldByte(std::uint32_t offset, std::uint8_t value);
  void setCells(const std::vector<Cell>& cells);
  void setImageDiff(std::uint32_t base, std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

  std::string label_;
  std::vector<ByteRun> runs_;
  std::vector<std::uint8_t> bytes_;
  // Cells sorted by row and column, packed: row step, column, old text and
  // new text, each text as its length and its bytes.
  std::vector<std::uint8_t> cells_;
  std::size_t cellCount_ = 0;
  int rowsBefore_ = 0;
  int rowsAfter_ = 0;
  std::unique_ptr<BesideImage> besideBefore_;  // both set, or neither
  std::unique_ptr<BesideImage> besideAfter_;
  int unit_ = -1;
};

// Where the steps go: the window layer keeps them on its undo stack. Every
// change to the game runs through runCommand, which hands the recorder one
// step per command.
class UndoRecorder {
 public:
  virtual ~UndoRecorder() = default;
  // A command's step; never empty.
  virtual void record(UndoStep step) = 0;
  // A change that is no command of its own (a save taking the grid's
  // ratings into the image) joins the step the document is at.
  virtual void amend(UndoStep change) = 0;
  // A load replaced the document: no step leads back.
  virtual void clear() = 0;
  // A save wrote the document: this is the clean point.
  virtual void markClean() = 0;
  virtual bool isClean() const = 0;
};

// The document's state before a command, and the difference it made. The
// image before it is `shadow`, the image as the previous transaction left
// it: only the range written since then is compared (and a shadow of
// another size is first taken anew).
class Transaction {
 public:
  Transaction(const Session& session, std::vector<std::uint8_t>& shadow);
  // The difference between the state kept and the session's state now.
  UndoStep difference(const Session& session, std::string label) const;
  // The shadow brought up to the image, whose writes are then forgotten.
  void settle(GameDocument& document);

 private:
  std::vector<std::uint8_t>& shadow_;
  int rows_;
  std::vector<std::string> cells_;
  BesideImage beside_;
};

// The values beside the image, as the session holds them now.
BesideImage besideImage(const Session& session);

// Runs a command that may change the game. With a recorder attached the
// command runs inside a transaction: its difference becomes one step named
// `label` (no step when it changed nothing; with an empty label it joins the
// current step). A conversion or other error that escapes the command is
// shown through the prompts seam, and what the command stored before it is
// recorded all the same. A command run from inside another joins that one.
// A cell still being typed into is stored first, as a step of its own.
void runCommand(Session& session, const std::string& label, const std::function<void()>& command);

// Stores what is being typed into a grid cell as its own step ("Edit Cell"),
// unless a command is running: then it has already been stored.
void commitCellEditor(Session& session);

// Undo (after = false) or redo of a step: the document as it was, then the
// view told, as after a load, with the unit the step touched.
void restoreStep(Session& session, const UndoStep& step, bool after);

}  // namespace tarnel
