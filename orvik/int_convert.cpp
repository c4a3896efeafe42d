#include "int_convert.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace orvik {

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value"), text_(text) {}

int toInt(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    rest.remove_prefix(1);
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    rest.remove_prefix(2);
  }
  std::uint32_t magnitude = 0;
  const char* end = rest.data() + rest.size();
  const auto [ptr, ec] = std::from_chars(rest.data(), end, magnitude, base);
  if (rest.empty() || ec != std::errc() || ptr != end) throw ConversionError(text);

  std::int64_t value = base == 16 ? static_cast<std::int32_t>(magnitude) : std::int64_t{magnitude};
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    throw ConversionError(text);
  return static_cast<int>(value);
}

}  // namespace orvik
