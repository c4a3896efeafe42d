#include "model/comment.h"

#include <algorithm>

#include "common/file_io.h"

namespace tarnel {

std::string commentFileName(const std::string& gamePath) {
  // Only a "." in the file's own name counts: one in a directory name must
  // not move the comment file into another directory.
  const std::size_t separator = gamePath.find_last_of("/\\");
  const std::size_t dot = gamePath.find_last_of('.');
  std::string name = gamePath;
  if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) name.erase(dot, 4);
  return name + ".cmt";
}

void takeCommentBytes(std::array<char, kCommentBytes>& buffer, std::span<const std::uint8_t> bytes) {
  const std::size_t n = std::min<std::size_t>(bytes.size(), kCommentReadBytes);
  for (std::size_t k = 0; k < n; ++k) buffer[k] = static_cast<char>(bytes[k]);
  buffer[n] = '\0';
  buffer[kCommentReadBytes] = '\0';
}

bool readCommentFile(GameModel& model, const std::string& commentPath) {
  const auto bytes = common::readFileBytes(commentPath, kCommentReadBytes);
  if (!bytes) return false;
  takeCommentBytes(model.comment, *bytes);
  return true;
}

}  // namespace tarnel
