#include "mainwindow/file_chooser.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "common/file_io.h"
#include "common/text1252.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/section_stream.h"
#include "model/comment.h"

namespace tarnel {

namespace fs = std::filesystem;

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperCase(std::string text) {
  for (char& c : text) c = upper(c);
  return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

// "*" any run of characters, "?" any one character, letters in either case.
bool wildcardMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Sorted as the list box sorts: letter case aside, then by the bytes.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
  const auto key = [](char x, char y) {
    return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), key)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), key)) return false;
  return a < b;
}

// An absolute, normal form of a directory without a trailing separator.
fs::path normalDirectory(const std::string& directory) {
  std::error_code ec;
  fs::path p = fs::absolute(directory.empty() ? fs::path(".") : common::pathFromUtf8(directory), ec).lexically_normal();
  if (p.filename().empty() && p != p.root_path()) p = p.parent_path();
  return p;
}

// A name as the file system takes it (paths are UTF-8 texts).
fs::path named(const std::string& name) { return common::pathFromUtf8(name); }

bool hidden(const std::string& name) { return name.empty() || name.front() == '.'; }

std::string unescapeMountPoint(std::string_view field) {
  // Blanks, tabs, line feeds and backslashes appear as three octal digits.
  std::string out;
  for (std::size_t k = 0; k < field.size(); ++k) {
    if (field[k] == '\\' && k + 3 < field.size()) {
      const std::string_view digits = field.substr(k + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        k += 3;
        continue;
      }
    }
    out += field[k];
  }
  return out;
}

bool underMountArea(const std::string& point) {
  for (std::string_view area : {"/media", "/run/media", "/mnt"}) {
    if (point.size() > area.size() && point.compare(0, area.size(), area) == 0 && point[area.size()] == '/')
      return true;
    if (point == area) return area == "/mnt";
  }
  return false;
}

bool contains(const std::string& place, const std::string& directory) {
  if (directory.compare(0, place.size(), place) != 0) return false;
  return directory.size() == place.size() || place.back() == '/' || place.back() == '\\' ||
         directory[place.size()] == '/' || directory[place.size()] == '\\';
}

}  // namespace

bool maskMatches(std::string_view mask, std::string_view name) {
  std::size_t start = 0;
  while (start <= mask.size()) {
    std::size_t end = mask.find(';', start);
    if (end == std::string_view::npos) end = mask.size();
    std::string_view pattern = mask.substr(start, end - start);
    while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
    while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
    if (pattern == kAllFilesMask || (!pattern.empty() && wildcardMatches(pattern, name))) return true;
    start = end + 1;
  }
  return false;
}

bool isGameFileCandidate(std::string_view name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || !equalIgnoringCase(name.substr(dot), ".DAT")) return false;
  const std::string_view prefix = name.substr(0, std::min<std::size_t>(4, name.size()));
  return equalIgnoringCase(prefix, "SAVE") || equalIgnoringCase(prefix, "SCEN");
}

std::string previewSuffix(std::span<const std::uint8_t> head, GameFileKind generation) {
  std::string suffix = " -> ";
  const bool v11 = hasMagic(head, kMagicV11);
  const bool vn3 = hasMagic(head, kMagicVn3);
  const bool fits = (generation == GameFileKind::V10 && !v11 && !vn3) ||
                    (generation == GameFileKind::V11 && v11) || (generation == GameFileKind::Vn3 && vn3);
  if (fits) suffix += "*-> ";
  return suffix;
}

std::string commentPreview(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::size_t k = 0; k < bytes.size() && k < kCommentPreviewBytes && bytes[k] != 0; ++k) {
    const auto b = bytes[k];
    if (b == '\r' && k + 1 < bytes.size() && bytes[k + 1] == '\n') continue;  // CR LF: one blank
    text += b < 0x20 ? ' ' : static_cast<char>(b);
  }
  return common::cp1252ToUtf8(text);
}

std::vector<DirectoryEntry> directoryEntries(const std::string& directory) {
  const fs::path dir = normalDirectory(directory);
  std::vector<DirectoryEntry> entries;
  fs::path walked;
  int depth = 0;
  for (const fs::path& part : dir) {
    walked /= part;
    // A root name and root directory ("C:" and "\") make one entry.
    if (walked == dir.root_name() && dir.has_root_directory()) continue;
    if (part.empty()) continue;
    entries.push_back({entries.empty() ? walked.string() : part.string(), walked.string(), depth++, false});
  }
  if (entries.empty()) entries.push_back({dir.string(), dir.string(), depth++, false});
  entries.back().current = true;

  std::vector<std::string> children;
  std::error_code ec;
  for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code typeError;
    if (!hidden(name) && it->is_directory(typeError)) children.push_back(std::move(name));
  }
  std::sort(children.begin(), children.end(), lessIgnoringCase);
  for (const std::string& name : children) entries.push_back({name, (dir / named(name)).string(), depth, false});
  return entries;
}

std::vector<std::string> driveChoices(std::string_view mountTable, const std::string& home) {
  std::vector<std::string> places{"/"};
  if (!home.empty() && home != "/") places.push_back(normalDirectory(home).string());
  std::vector<std::string> media;
  std::size_t start = 0;
  while (start < mountTable.size()) {
    std::size_t end = mountTable.find('\n', start);
    if (end == std::string_view::npos) end = mountTable.size();
    const std::string_view line = mountTable.substr(start, end - start);
    start = end + 1;
    // device, mount point, type, options, ...
    const std::size_t a = line.find(' ');
    if (a == std::string_view::npos) continue;
    const std::size_t b = line.find(' ', a + 1);
    const std::string point = unescapeMountPoint(line.substr(a + 1, b == std::string_view::npos ? b : b - a - 1));
    if (underMountArea(point) && std::find(media.begin(), media.end(), point) == media.end())
      media.push_back(point);
  }
  std::sort(media.begin(), media.end());
  places.insert(places.end(), media.begin(), media.end());
  return places;
}

std::size_t driveOf(const std::vector<std::string>& drives, const std::string& directory) {
  std::size_t best = 0, bestLength = 0;
  for (std::size_t k = 0; k < drives.size(); ++k)
    if (contains(drives[k], directory) && drives[k].size() >= bestLength) {
      best = k;
      bestLength = drives[k].size();
    }
  return best;
}

// ---- The chooser ------------------------------------------------------------

FileChooser::FileChooser(std::string directory) : directory_(normalDirectory(directory).string()) {}

void FileChooser::setDirectory(const std::string& directory) {
  directory_ = normalDirectory(directory).string();
}

void FileChooser::FormActivate() {
  maskBtnCaption_ = kMaskBtnFirstCaption;
  callerMask_ = mask;
  readList();
}

void FileChooser::MaskBtnClick() {
  if (mask == callerMask_) {
    mask = kAllFilesMask;
    maskBtnCaption_ = callerMask_;
  } else {
    mask = callerMask_;
    maskBtnCaption_ = kAllFilesMask;
  }
  readList();
}

void FileChooser::FileListChange(int item) {
  if (item < 0 || static_cast<std::size_t>(item) >= items_.size()) return;
  selected_ = item;
  fileNameEdit = items_[static_cast<std::size_t>(item)].text;
}

void FileChooser::readList() {
  items_.clear();
  selected_ = -1;
  const fs::path dir = common::pathFromUtf8(directory_);
  // Every file of the directory with its type as the listing gives it, so
  // that named pipes, devices and the like are listed but never opened, and
  // comment files are looked up without asking the file system again.
  struct File {
    std::string name;
    bool regular;
  };
  std::vector<File> files;
  std::unordered_map<std::string, std::size_t> byUpperName;
  std::error_code ec;
  for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code typeError;
    if (hidden(name) || it->is_directory(typeError)) continue;
    byUpperName.emplace(upperCase(name), files.size());
    files.push_back({std::move(name), it->is_regular_file(typeError)});
  }
  const auto regularFile = [&](const std::string& name) {
    const auto found = byUpperName.find(upperCase(name));
    if (found == byUpperName.end()) return false;
    const File& file = files[found->second];
    if (file.name == name) return file.regular;
    // Only the letter case differs: whether that names the same file is the
    // file system's matter.
    std::error_code typeError;
    return fs::is_regular_file(dir / named(name), typeError);
  };

  std::vector<const File*> listed;
  for (const File& file : files)
    if (maskMatches(mask, file.name)) listed.push_back(&file);
  std::sort(listed.begin(), listed.end(),
            [](const File* a, const File* b) { return lessIgnoringCase(a->name, b->name); });

  const bool preview = mask != kAllFilesMask;
  items_.reserve(listed.size());
  for (const File* file : listed) {
    Item item{file->name, file->name};
    if (preview) {
      if (isGameFileCandidate(item.name) && file->regular) {
        // The first line, at most 30 characters; a file that cannot be
        // opened gets no suffix.
        if (const auto head = common::readFileBytes((dir / named(item.name)).string(), 30))
          item.text += previewSuffix(*head, generation);
      }
      const std::string comment = commentFileName(item.name);
      if (regularFile(comment))
        if (const auto bytes = common::readFileBytes((dir / named(comment)).string(), kCommentPreviewBytes))
          item.text += commentPreview(*bytes);
    }
    items_.push_back(std::move(item));
  }
}

bool FileChooser::enterTypedFolder() {
  const std::string field = fileNameEdit;
  if (field.empty()) return false;
  // An item's text names a file of the list, even when a folder of that
  // name could be reached from here.
  for (const Item& item : items_)
    if (item.text == field) return false;
  std::error_code ec;
  const fs::path typed = named(directory_) / named(field);
  if (!fs::is_directory(typed, ec)) return false;
  setDirectory(typed.string());
  fileNameEdit.clear();
  readList();
  return true;
}

std::string FileChooser::OKBtnClick() {
  const fs::path dir = common::pathFromUtf8(directory_);
  const std::string field = fileNameEdit;
  const Item* chosen = nullptr;
  if (selected_ >= 0 && items_[static_cast<std::size_t>(selected_)].text == field)
    chosen = &items_[static_cast<std::size_t>(selected_)];
  for (std::size_t k = 0; !chosen && k < items_.size(); ++k)
    if (items_[k].text == field) chosen = &items_[k];

  fs::path path;
  if (chosen) {
    path = dir / named(chosen->name);
  } else {
    std::error_code ec;
    const fs::path typed = field.empty() ? fs::path() : dir / named(field);
    if (!field.empty() && fs::exists(typed, ec) && !fs::is_directory(typed, ec)) {
      path = typed;
    } else {
      // The name as far as its first "." and three characters after it.
      const std::size_t dot = field.find('.');
      path = dir / named(dot == std::string::npos ? field : field.substr(0, dot + 4));
    }
  }
  fileNameEdit = path.string();
  return fileNameEdit;
}

}  // namespace tarnel
