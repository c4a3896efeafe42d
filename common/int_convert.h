#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace common {

// A text that does not convert to an integer. what() is the message the GUI
// shows in its standard error box.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// The toolkit's integer conversion: optional leading blanks and sign, then
// decimal digits, or hexadecimal digits after "$", "x" or "0x". The value must
// fit a signed 32-bit integer (hexadecimal up to FFFFFFFF, taken as its
// two's complement). Throws ConversionError otherwise.
int toInt(std::string_view text);

// Returns false instead of throwing.
bool tryToInt(std::string_view text, int& value);

}  // namespace common
