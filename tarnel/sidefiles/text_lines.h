#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tarnel {

// Reads a text file's lines the way the side-file readers take them: a line
// ends at LF, CR LF or a lone CR (whatever system or spreadsheet wrote it),
// the line break is not part of the line, and a line longer than maxLength
// characters comes in pieces of maxLength, each a line of its own.
class TextLines {
 public:
  TextLines(std::string_view text, std::size_t maxLength) : text_(text), max_(maxLength) {}

  // The next line; nullopt at the end of the text.
  std::optional<std::string_view> next();

  // Where the next line starts in the text, and a move there from a reader
  // that took some of the text itself (a quoted cell across line breaks).
  std::size_t offset() const { return pos_; }
  void seek(std::size_t offset) { pos_ = offset; }

 private:
  std::string_view text_;
  std::size_t max_;
  std::size_t pos_ = 0;
};

}  // namespace tarnel
