#include "sidefiles/text_lines.h"

namespace tarnel {

std::optional<std::string_view> TextLines::next() {
  if (pos_ >= text_.size()) return std::nullopt;
  const std::size_t start = pos_;
  std::size_t end = start;
  while (end < text_.size() && end - start < max_ && text_[end] != '\n' && text_[end] != '\r') ++end;
  pos_ = end;
  // A piece that stops at maxLength keeps the rest of its line for the next
  // call; a line break right after it still belongs to this piece.
  if (pos_ < text_.size() && text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else if (pos_ < text_.size() && text_[pos_] == '\n') {
    ++pos_;
  }
  return text_.substr(start, end - start);
}

}  // namespace tarnel
