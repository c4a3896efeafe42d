#include "editors/position_editor.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "model/session.h"

namespace tarnel {

const std::array<const char*, kPositionColumns> kPositionHeadings = {"Side", " Unit", " Unit Name",
                                                                     " X",   " Y",    "Hid."};

PositionMap::PositionMap() : pixels_(static_cast<std::size_t>(kMapWidth * kMapHeight), kMapBackground) {}

std::uint32_t PositionMap::pixel(int x, int y) const {
  if (x < 0 || x >= kMapWidth || y < 0 || y >= kMapHeight) return 0;
  return pixels_[static_cast<std::size_t>(y * kMapWidth + x)];
}

void PositionMap::fill(std::uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void PositionMap::fillCell(int x, int y, std::uint32_t colour) {
  // Cells off the map show nothing (and far ones would overflow the pixel arithmetic).
  if (x < 0 || x >= kMapWidth / kMapCellWidth || y < 0 || y >= kMapHeight / kMapCellHeight) return;
  for (int py = y * kMapCellHeight; py < (y + 1) * kMapCellHeight; ++py)
    for (int px = x * kMapCellWidth; px < (x + 1) * kMapCellWidth; ++px)
      pixels_[static_cast<std::size_t>(py * kMapWidth + px)] = colour;
}

void PositionMap::xorPixel(int x, int y, std::uint32_t pen) {
  if (x < 0 || x >= kMapWidth || y < 0 || y >= kMapHeight) return;
  pixels_[static_cast<std::size_t>(y * kMapWidth + x)] ^= pen;
}

void PositionMap::xorLine(int x0, int y0, int x1, int y1, std::uint32_t pen) {
  // The outline's sides are horizontal or vertical.
  const int stepX = (x1 > x0) - (x1 < x0);
  const int stepY = (y1 > y0) - (y1 < y0);
  for (int x = x0, y = y0; x != x1 || y != y1; x += stepX, y += stepY) xorPixel(x, y, pen);
}

void PositionMap::xorRectangle(int x0, int y0, int x1, int y1, std::uint32_t pen) {
  xorLine(x0, y0, x1, y0, pen);
  xorLine(x1, y0, x1, y1, pen);
  xorLine(x1, y1, x0, y1, pen);
  xorLine(x0, y1, x0, y0, pen);
}

MapPoint cellOf(MapPoint pixel) { return {pixel.x / kMapCellWidth, pixel.y / kMapCellHeight}; }

int randomBelow(DiceSource& dice, int n) {
  if (n == 0) return 0;
  const std::int64_t range = std::llabs(static_cast<long long>(n));
  return static_cast<int>(dice.next() % range);
}

bool isMarked(const std::string& designation) {
  return !designation.empty() && designation.back() == kMark;
}

PositionEditor::PositionEditor(Session& session) : session_(session) {
  grid.setColWidth(kPosName, kPositionNameWidth);
  for (int c = 0; c < kPositionColumns; ++c) grid.setCell(c, 0, kPositionHeadings[static_cast<std::size_t>(c)]);
}

int PositionEditor::unitRows() const {
  // Counted as the battle summary counts them: a load cut short by "Too much
  // data" shows its units here too, as in the grid.
  return std::clamp(std::min(session_.model.unitCount, session_.grid.rowCount() - 1), 0, kUnitCapacity);
}

namespace {
std::string signedWord(const GameModel& m, std::int64_t at) {
  return std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(m.wordAt(at))));
}
}  // namespace

void PositionEditor::activate() {
  const GameModel& m = session_.model;
  const int n = unitRows();
  grid.beginUpdate();
  grid.setRowCount(n + 1);
  for (int r = 1; r <= n; ++r) {
    for (int c : {kPosSide, kPosUnit, kPosName}) grid.setCell(c, r, session_.grid.cell(c, r));
    const std::int64_t at = m.positionOffset(r - 1);
    grid.setCell(kPosX, r, signedWord(m, at + offsetOf(PositionField::kX)));
    grid.setCell(kPosY, r, signedWord(m, at + offsetOf(PositionField::kY)));
    grid.setCell(kPosHidden, r, std::to_string(m.byteAt(at + offsetOf(PositionField::kHidden))));
  }
  grid.endUpdate();
  if (session_.model.redrawNeeded) redraw();
}

void PositionEditor::redraw() {
  session_.model.redrawNeeded = false;
  bandShown = false;
  map.fill(kMapBackground);
  const int n = unitRows();
  for (int r = 1; r <= n; ++r) {
    const int x = toInt(grid.cell(kPosX, r));
    const int y = toInt(grid.cell(kPosY, r));
    if (x <= 0 || y <= 0) continue;
    const int side = toInt(grid.cell(kPosSide, r));
    map.fillCell(x, y, side == 0 ? kMapSide0 : kMapOtherSide);
  }
}

void PositionEditor::selectCell(int col, int row) {
  if (row < 1 || row >= grid.rowCount()) return;
  if (col == kPosUnit) {
    std::string text = grid.cell(col, row);
    if (isMarked(text)) {
      text.pop_back();
    } else {
      text += kMark;
    }
    grid.setCell(col, row, std::move(text));
  } else if (col == kPosX || col == kPosY) {
    session_.model.redrawNeeded = true;
  }
}

void PositionEditor::drawBand() {
  map.xorRectangle(pressPoint.x, pressPoint.y, bandCorner.x, bandCorner.y, kBandPen);
}

void PositionEditor::mouseDown(MapPoint pixel) {
  pressCell = cellOf(pixel);
  dragging = true;
  if (bandShown) drawBand();
  bandShown = false;
  pressPoint = pixel;
}

void PositionEditor::mouseMove(MapPoint pixel) {
  if (dragging && bandShown) {
    drawBand();
    bandCorner = pixel;
    drawBand();
  } else if (dragging) {
    bandShown = true;
    bandCorner = pixel;
    drawBand();
  }
  const MapPoint cell = cellOf(pixel);
  xyLabel = std::to_string(cell.x) + "," + std::to_string(cell.y);
}

void PositionEditor::mouseUp(MapPoint pixel) {
  releaseCell = cellOf(pixel);
  const int dx = std::abs(pressCell.x - releaseCell.x);
  const int dy = std::abs(pressCell.y - releaseCell.y);
  if (dx + dy > 0) {
    xRange = std::to_string(dx / 2);
    yRange = std::to_string(dy / 2);
    xDrop = std::to_string((std::abs(pressCell.x) + std::abs(releaseCell.x)) / 2);
    yDrop = std::to_string((std::abs(pressCell.y) + std::abs(releaseCell.y)) / 2);
  }
  dragging = false;
}

void PositionEditor::select() {
  if (!bandShown) return;
  const MapPoint a = cellOf({std::min(pressPoint.x, bandCorner.x), std::min(pressPoint.y, bandCorner.y)});
  const MapPoint b = cellOf({std::max(pressPoint.x, bandCorner.x), std::max(pressPoint.y, bandCorner.y)});
  const int n = unitRows();
  for (int r = 1; r <= n; ++r) {
    const int x = toInt(grid.cell(kPosX, r));
    const int y = toInt(grid.cell(kPosY, r));
    if (a.x < x && x < b.x && a.y < y && y < b.y && !isMarked(grid.cell(kPosUnit, r)))
      grid.setCell(kPosUnit, r, grid.cell(kPosUnit, r) + kMark);
  }
}

void PositionEditor::drop() {
  const std::int64_t cx = toInt(xDrop);
  const std::int64_t cy = toInt(yDrop);
  DiceSource& dice = session_.dice;
  struct Candidate {
    std::int64_t x;
    std::int64_t y;
    std::int64_t distance;  // squared, to the drop point
  };
  // A drop point near the limits of a 32-bit number keeps its units at those
  // limits: the cells take only what converts back.
  auto limit = [](std::int64_t v) {
    return std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
  };
  auto draw = [&]() {
    const int sx = randomBelow(dice, 2);
    const int sy = randomBelow(dice, 2);
    const std::int64_t rx = randomBelow(dice, toInt(xRange));
    const std::int64_t ry = randomBelow(dice, toInt(yRange));
    const std::int64_t x = limit(sx != 0 ? cx + rx : cx - rx);
    const std::int64_t y = limit(sy != 0 ? cy + ry : cy - ry);
    return Candidate{x, y, (x - cx) * (x - cx) + (y - cy) * (y - cy)};
  };
  const int n = unitRows();
  const int extra = std::clamp(density, 0, kDensityMax);
  for (int r = 1; r <= n; ++r) {
    std::string designation = grid.cell(kPosUnit, r);
    if (!isMarked(designation)) continue;
    designation.pop_back();
    grid.setCell(kPosUnit, r, std::move(designation));
    Candidate kept = draw();
    for (int k = 0; k < extra; ++k) {
      const Candidate c = draw();
      if (c.distance < kept.distance) kept = c;
    }
    grid.setCell(kPosX, r, std::to_string(kept.x));
    grid.setCell(kPosY, r, std::to_string(kept.y));
  }
  redraw();
}

void PositionEditor::reset() {
  const GameModel& m = session_.model;
  const int n = unitRows();
  for (int r = 1; r <= n; ++r) {
    const std::int64_t at = m.positionOffset(r - 1);
    grid.setCell(kPosX, r, signedWord(m, at + offsetOf(PositionField::kX)));
    grid.setCell(kPosY, r, signedWord(m, at + offsetOf(PositionField::kY)));
  }
}

void PositionEditor::retain() {
  GameModel& m = session_.model;
  const int n = unitRows();
  for (int r = 1; r <= n; ++r) {
    const std::int64_t at = m.positionOffset(r - 1);
    m.setWordAt(at + offsetOf(PositionField::kX), toInt(grid.cell(kPosX, r)));
    session_.markModified();
    m.setWordAt(at + offsetOf(PositionField::kY), toInt(grid.cell(kPosY, r)));
    m.setByteAt(at + offsetOf(PositionField::kHidden), toInt(grid.cell(kPosHidden, r)) != 0 ? 1 : 0);
  }
}

}  // namespace tarnel
