#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvik {

// A typed text that does not convert to an integer. what() is the text the
// window shows in its standard error box.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Integer conversion of typed fields: optional leading blanks and sign, then
// decimal digits, or hexadecimal digits after "$", "x" or "0x". Decimal must
// fit a signed 32-bit integer; hexadecimal goes up to FFFFFFFF and is taken as
// its two's complement. Throws ConversionError otherwise.
int toInt(std::string_view text);

}  // namespace orvik
