#include "model/nations.h"

#include <array>

namespace tarnel {

namespace {
constexpr std::array<const char*, 44> kFirst = {
    "West Germany", "Egypt",        "Poland",         "Syria",        "Israel",
    "Japan",        "France",       "United Kingdom", "PLO",          "Jordan",
    "Iran",         "Russia",       "USA",            "USMC",         "China",
    "Australia",    "Gulf States",  "Iraq",           "India",        "North Korea",
    "South Korea",  "Taiwan",       "Mujadeen",       "North Vietnam", "South Vietnam",
    "Pakistan",     "Afghanistan",  "Belgium",        "Netherlands",  "Norway",
    "Canada",       "Greece",       "Turkey",         "Spain",        "Italy",
    "Denmark",      "East Germany", "Czechoslovakia", "Hungary",      "Romania",
    "Libya",        "Yugoslavia",   "Green",          "Red"};

constexpr std::array<const char*, 22> kSecond = {
    "Germany",     "Finland",      "Italy",     "Rumania",    "Hungary",   "Japan",
    "France",      "Britain",      "Belgium",   "Netherlands", "Poland",   "Soviet Union",
    "US Army",     "US Marines",   "China",     "Greece",     "Norway",    "Yugoslavia",
    "Canada",      "India",        "ANZAC",     "Free France"};
}  // namespace

std::string nationName(int number) {
  if (number >= 0 && number < static_cast<int>(kFirst.size())) return kFirst[static_cast<std::size_t>(number)];
  int k = number - 70;
  if (k >= 0 && k < static_cast<int>(kSecond.size())) return kSecond[static_cast<std::size_t>(k)];
  return {};
}

}  // namespace tarnel
