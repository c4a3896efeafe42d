// Any bytes as a comment file through "Load Comment File": the buffer takes
// the bytes up to the first zero, 199 at most, and stays zero-terminated; the
// comment window's text of it saves back to the same bytes wherever the
// text has no lone line-break character.
#include "model/comment.h"
#include "sidefiles/comment_files.h"
#include "support/tarnel_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  static fuzz::ScratchPrompts prompts;
  static Session session(prompts);
  static const std::string path = fuzz::scratchFile("game.cmt");
  fuzz::putFile(path, std::span(data, size));
  session.model.comment.fill('x');
  prompts.openAnswer = path;

  FUZZ_CHECK(loadCommentFile(session));
  const auto& buffer = session.model.comment;
  FUZZ_CHECK(buffer[kCommentBytes - 1] == '\0');
  const std::string text = session.model.commentText();
  std::size_t expected = 0;
  while (expected < size && expected < static_cast<std::size_t>(kCommentReadBytes) && data[expected] != 0) ++expected;
  FUZZ_CHECK(text == std::string(reinterpret_cast<const char*>(data), expected));

  const std::string memo = commentMemoText(text);
  const CommentBytes back = commentBytesOf(memo);
  bool loneBreak = false;
  for (std::size_t k = 0; k < text.size(); ++k)
    loneBreak = loneBreak || (text[k] == '\n' && (k == 0 || text[k - 1] != '\r')) ||
                (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'));
  // Every byte has a character in the window, so nothing is replaced.
  FUZZ_CHECK(!back.replaced);
  if (!loneBreak) FUZZ_CHECK(back.text1252 == text);
  const auto file = commentFileBytes(back.text1252);
  FUZZ_CHECK(file.size() == static_cast<std::size_t>(kCommentBytes));
  return 0;
}
