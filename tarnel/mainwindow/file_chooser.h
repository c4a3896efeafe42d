#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_model.h"

namespace tarnel {

inline constexpr const char* kAllFilesMask = "*.*";
inline constexpr const char* kMaskBtnFirstCaption = "All (*.*)";
inline constexpr int kCommentPreviewBytes = 255;

// A file list mask: patterns with "*" and "?" separated by ";", matched
// without regard to letter case; "*.*" matches every name.
bool maskMatches(std::string_view mask, std::string_view name);

// A game file candidate: the name, in upper case, begins with "SAVE" or
// "SCEN" and its extension is ".DAT".
bool isGameFileCandidate(std::string_view name);

// The preview suffix of a candidate whose first bytes are `head`: " -> ",
// and "*-> " after it when the file fits the generation being loaded (its
// magic for version 1.1 and VN3, neither magic for version 1.0).
std::string previewSuffix(std::span<const std::uint8_t> head, GameFileKind generation);

// The text a comment file shows in the list: its bytes up to a zero byte,
// the end or 255 bytes, as UTF-8, with each line break shown as one blank.
std::string commentPreview(const std::vector<std::uint8_t>& bytes);

// One entry of the directory list: the current directory's ancestors from
// the root down, the current directory itself, then its subdirectories.
struct DirectoryEntry {
  std::string label;
  std::string path;
  int depth = 0;
  bool current = false;
};
std::vector<DirectoryEntry> directoryEntries(const std::string& directory);

// The places the drive selector offers on a system without drive letters:
// the root, the home folder and the mount points of removable media and of
// file systems mounted by hand (under /media, /run/media and /mnt), taken
// from a mount table in the format of /proc/self/mounts. With drive letters
// the drives themselves are the places.
std::vector<std::string> driveChoices(std::string_view mountTable, const std::string& home);
// The place the directory lies in: the longest one that contains it.
std::size_t driveOf(const std::vector<std::string>& drives, const std::string& directory);

// The state and logic of the game-file chooser "Open File": the file list
// with its mask and preview, the directory, the name field, the mask button
// and OK. TFileForm shows it.
class FileChooser {
 public:
  struct Item {
    std::string name;  // the file's own name
    std::string text;  // what the list shows: name, preview suffix, comment
  };

  explicit FileChooser(std::string directory = ".");

  // Set by the caller before each use.
  std::string mask = "*.dat";
  GameFileKind generation = GameFileKind::None;

  const std::string& directory() const { return directory_; }
  // Moves to a directory; the list is read at the next readList.
  void setDirectory(const std::string& directory);

  const std::vector<Item>& items() const { return items_; }
  const std::string& maskBtnCaption() const { return maskBtnCaption_; }
  const std::string& callerMask() const { return callerMask_; }

  // FileNameEdit: the name typed or brought in by selecting an item.
  std::string fileNameEdit = "*.*";

  void FormActivate();
  void MaskBtnClick();
  // Selecting item i puts its text, preview included, into the name field.
  void FileListChange(int item);
  // Reads the list again: the names of the directory's files that match the
  // mask, with the preview unless the mask is "*.*".
  void readList();
  // Makes the name field the full path of the chosen file and returns it.
  std::string OKBtnClick();
  // OK on the path of an existing folder (typed, absolute or relative to the
  // current directory) opens that folder instead: the list is read there and
  // the name field emptied. False, changing nothing, for anything else.
  bool enterTypedFolder();

 private:
  std::string directory_;
  std::string callerMask_;
  std::string maskBtnCaption_ = "*.dat";
  std::vector<Item> items_;
  int selected_ = -1;
};

}  // namespace tarnel
