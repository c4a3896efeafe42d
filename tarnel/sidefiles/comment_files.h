#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/session.h"

namespace tarnel {

inline constexpr const char* kCommentFilter = "Comment files (*.cmt)|*.cmt|All Files (*.*) |*.*";
inline constexpr const char* kCommentNotOpened = "Could not open Comment file";
inline constexpr const char* kCommentNotCreated = "Could not open new Comment file";
inline constexpr const char* kCommentCharactersReplaced =
    "Some characters of the comment have no place in a comment file and were saved as \"?\"";

// The 200 bytes of a comment file: the text's first 200 bytes, then zeros.
std::vector<std::uint8_t> commentFileBytes(std::string_view text1252);

// The comment window's text of a comment (Windows-1252 bytes, CR LF line
// breaks): UTF-8 with a line feed for each line break.
std::string commentMemoText(std::string_view text1252);

// The bytes a comment window's text (UTF-8, line feeds) is saved as: line
// breaks become CR LF, characters that Windows-1252 cannot hold become "?".
struct CommentBytes {
  std::string text1252;
  bool replaced = false;  // some character became "?"
};
CommentBytes commentBytesOf(std::string_view memoUtf8);

// "Load Comment File": asks for a comment file in the main window's open
// dialog, proposing the comment file of the current game file, and reads it
// into the comment buffer. True when it was read; the caller then shows the
// buffer in the comment window.
bool loadCommentFile(Session& session);

// "Save Comment File": asks for a name in the main window's save dialog and
// writes the comment window's text (UTF-8) as a comment file. The comment
// buffer is not changed. True when the file was written.
bool saveCommentFile(Session& session, std::string_view memoUtf8);

}  // namespace tarnel
