#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/text_table.h"

namespace tarnel {

class DiceSource;
class Session;

// Columns of the position grid.
inline constexpr int kPositionColumns = 6;
enum PositionColumn { kPosSide = 0, kPosUnit = 1, kPosName = 2, kPosX = 3, kPosY = 4, kPosHidden = 5 };
extern const std::array<const char*, kPositionColumns> kPositionHeadings;
inline constexpr int kPositionNameWidth = 130;

// The miniature map: 400 x 240 pixels, one map cell a block of 4 x 3.
inline constexpr int kMapWidth = 400;
inline constexpr int kMapHeight = 240;
inline constexpr int kMapCellWidth = 4;
inline constexpr int kMapCellHeight = 3;

// Pixels are 0xFFRRGGBB.
inline constexpr std::uint32_t kMapBackground = 0xFF808080;
inline constexpr std::uint32_t kMapSide0 = 0xFFFFFF00;
inline constexpr std::uint32_t kMapOtherSide = 0xFFFF0000;
inline constexpr std::uint32_t kBandPen = 0x008000;  // exclusive-or'ed into the pixels

inline constexpr int kDensityMax = 15;

// The selection mark appended to a designation.
inline constexpr char kMark = '*';

// The map bitmap.
class PositionMap {
 public:
  PositionMap();
  const std::uint32_t* pixels() const { return pixels_.data(); }
  std::uint32_t pixel(int x, int y) const;
  void fill(std::uint32_t colour);
  // The block of map cell (x, y); the parts outside the bitmap are left out.
  void fillCell(int x, int y, std::uint32_t colour);
  // The outline from (x0, y0) over (x1, y0), (x1, y1) and (x0, y1) back to
  // (x0, y0), each pixel of it exclusive-or'ed with the pen once, so drawing
  // the same outline again gives back the pixels under it.
  void xorRectangle(int x0, int y0, int x1, int y1, std::uint32_t pen);

 private:
  std::vector<std::uint32_t> pixels_;
  // One side of the outline: from (x0, y0) towards (x1, y1), the end pixel
  // left to the next side.
  void xorLine(int x0, int y0, int x1, int y1, std::uint32_t pen);
  void xorPixel(int x, int y, std::uint32_t pen);
};

// A pixel position of the map or its cell.
struct MapPoint {
  int x = 0;
  int y = 0;
};
MapPoint cellOf(MapPoint pixel);

// random(n) of the position editor: a fresh draw of the dice source modulo
// |n|; 0 without a draw when n is 0.
int randomBelow(DiceSource& dice, int n);

// Whether a designation cell carries the selection mark.
bool isMarked(const std::string& designation);

// The pure logic of the position editor: the grid of the units' positions,
// the map and the band dragged on it, and the commands. Texts are Windows-1252
// bytes, converted when a command uses them; a text that is not an integer
// stops the command with ConversionError, what it did before staying done.
class PositionEditor {
 public:
  explicit PositionEditor(Session& session);

  TextTable grid{kPositionColumns, 5, 32};
  PositionMap map;
  std::string xyLabel = "x,y";
  std::string xDrop = "1";
  std::string yDrop = "1";
  std::string xRange = "1";
  std::string yRange = "1";
  int density = 0;  // the spinner's position, 0..kDensityMax

  // Drag state.
  bool dragging = false;
  bool bandShown = false;
  MapPoint pressPoint;
  MapPoint pressCell;
  MapPoint bandCorner;
  MapPoint releaseCell;

  // Unit rows of the grid: the loaded game's units.
  int unitRows() const;

  // Refills the grid from the model and the unit grid, discarding unretained
  // edits and marks; redraws the map when the model asks for it.
  void activate();
  // The map from the grid's positions; wipes the band.
  void redraw();
  // Selecting a designation cell toggles its mark; selecting an X or Y cell
  // asks for a redraw at the next activation or Drop.
  void selectCell(int col, int row);

  void mouseDown(MapPoint pixel);
  void mouseMove(MapPoint pixel);
  void mouseUp(MapPoint pixel);

  // Marks the unmarked units strictly inside the band, whichever way it was
  // dragged.
  void select();
  // Scatters the marked units around the drop point and removes their marks.
  void drop();
  // X and Y back from the model.
  void reset();
  // X, Y and the hidden flags into the model.
  void retain();

 private:
  Session& session_;
  void drawBand();
};

}  // namespace tarnel
