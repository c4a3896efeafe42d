#include "common/int_convert.h"

#include <cstdint>

namespace common {

namespace {
std::string conversionMessage(std::string_view text) {
  std::string m = "'";
  m.append(text);
  m += "' is not a valid integer value";
  return m;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(conversionMessage(text)), text_(text) {}

bool tryToInt(std::string_view text, int& value) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  bool hex = false;
  if (p < text.size() && text[p] == '$') {
    hex = true;
    ++p;
  } else if (p + 1 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
    hex = true;
    p += 2;
  } else if (p < text.size() && (text[p] == 'x' || text[p] == 'X')) {
    hex = true;
    ++p;
  }
  if (p == text.size()) return false;
  std::uint64_t v = 0;
  for (; p < text.size(); ++p) {
    int d = hex ? hexDigit(text[p]) : (text[p] >= '0' && text[p] <= '9' ? text[p] - '0' : -1);
    if (d < 0) return false;
    v = v * (hex ? 16u : 10u) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  std::int64_t s;
  if (hex) {
    s = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  } else {
    if (v > (negative ? 2147483648ull : 2147483647ull)) return false;
    s = static_cast<std::int64_t>(v);
  }
  if (negative) s = -s;
  if (s < INT32_MIN || s > INT32_MAX) return false;
  value = static_cast<int>(s);
  return true;
}

int toInt(std::string_view text) {
  int v = 0;
  if (!tryToInt(text, v)) throw ConversionError(text);
  return v;
}

}  // namespace common
