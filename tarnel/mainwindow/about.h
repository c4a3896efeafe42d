#pragma once

#include <array>
#include <string>

namespace tarnel {

inline constexpr const char* kApplicationTitle = "Tarnel";
inline constexpr const char* kMainWindowCaption = "Varno Editor";
inline constexpr const char* kVersionText = "0.31";
inline constexpr const char* kHelpFileName = "Tarnel.hlp";
// Where an installed program keeps its help file and samples, relative to
// the program's directory (bin/ beside share/).
inline constexpr const char* kInstalledDataDir = "../share/tarnel";

// The help file the Help command opens: the one beside the program (a build
// directory), else the installed one. When neither exists, the one beside the
// program, for the message that names it.
std::string helpFilePath(const std::string& programDir);

// The About box: its title and its lines, the first naming the version.
inline constexpr const char* kAboutTitle = "About Tarnel";
std::string aboutText();

// One centred line of the title picture: its text, the height of its font
// cell in pixels and the top of the line.
struct TitleLine {
  const char* text;
  int height;
  int top;
};
inline constexpr std::array<TitleLine, 5> kTitleLines = {{
    {"Tarnel", 80, 40},
    {"A Varno 2+", 30, 150},
    {"Scenario & Saved Game Editor", 30, 190},
    {"Written by the Tarnel team", 30, 230},
    {"for Varno players everywhere", 30, 270},
}};

// The left edge of a line of the given width centred in the picture, rounded
// towards zero.
constexpr int centredLeft(int pictureWidth, int textWidth) { return (pictureWidth - textWidth) / 2; }

}  // namespace tarnel
