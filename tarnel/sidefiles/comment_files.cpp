#include "sidefiles/comment_files.h"

#include "common/file_io.h"
#include "common/text1252.h"
#include "model/comment.h"

namespace tarnel {

std::vector<std::uint8_t> commentFileBytes(std::string_view text1252) {
  std::vector<std::uint8_t> bytes(kCommentBytes, 0);
  for (std::size_t k = 0; k < bytes.size() && k < text1252.size(); ++k)
    bytes[k] = static_cast<std::uint8_t>(text1252[k]);
  return bytes;
}

std::string commentMemoText(std::string_view text1252) {
  std::string text;
  text.reserve(text1252.size());
  for (std::size_t k = 0; k < text1252.size(); ++k) {
    if (text1252[k] == '\r') {
      text += '\n';
      if (k + 1 < text1252.size() && text1252[k + 1] == '\n') ++k;
    } else {
      text += text1252[k];
    }
  }
  return common::cp1252ToUtf8(text);
}

CommentBytes commentBytesOf(std::string_view memoUtf8) {
  CommentBytes out;
  const std::string bytes = common::utf8ToCp1252(memoUtf8);
  // Every character Windows-1252 holds comes back unchanged; whatever does
  // not is a character that was replaced.
  out.replaced = common::cp1252ToUtf8(bytes) != memoUtf8;
  out.text1252.reserve(bytes.size());
  for (char c : bytes) {
    if (c == '\n') out.text1252 += '\r';
    out.text1252 += c;
  }
  return out;
}

namespace {
std::string proposedName(const Session& s) { return commentFileName(s.model.currentPath); }
}  // namespace

bool loadCommentFile(Session& s) {
  FileDialogState& d = s.OpenDialog1;
  d.filter = kCommentFilter;
  d.fileName = proposedName(s);
  if (!s.prompts.openDialog(d)) return false;
  if (!readCommentFile(s.model, d.fileName)) {
    s.prompts.message(kCommentNotOpened, "Error", MessageIcon::Error);
    return false;
  }
  return true;
}

bool saveCommentFile(Session& s, std::string_view memoUtf8) {
  FileDialogState& d = s.SaveDialog1;
  d.filter = kCommentFilter;
  d.title = "Save Comment File";
  d.defaultExt = ".cmt";
  d.fileName = proposedName(s);
  d.overwritePrompt = true;
  if (!s.prompts.saveDialog(d)) return false;
  const CommentBytes text = commentBytesOf(memoUtf8);
  if (!common::writeFileSafely(d.fileName, commentFileBytes(text.text1252))) {
    s.prompts.message(kCommentNotCreated, "Error", MessageIcon::Error);
    return false;
  }
  if (text.replaced) s.prompts.message(kCommentCharactersReplaced, "Warning", MessageIcon::Warning);
  return true;
}

}  // namespace tarnel
