#pragma once

#include <string>

namespace tarnel {

// Nation number to name: numbers below 70 index the first list, 70 and above
// the second. Numbers that name no entry give an empty text.
std::string nationName(int number);

}  // namespace tarnel
