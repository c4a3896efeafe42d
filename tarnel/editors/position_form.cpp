#include "editors/position_form.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "common/ui/qt_text.h"
#include "ui/qt_text_table.h"
#include "model/undo.h"

namespace tarnel {

using common::fromCp1252;
using common::toCp1252;

namespace {


QFont sansSerif(int pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  return font;
}

constexpr int kControlFontPixels = 17;  // buttons, labels and edit fields
constexpr int kFontPixels = 13;         // everything else

void setText(QLineEdit* edit, const std::string& text) {
  // Only a change is written, so the cursor of a field being typed in stays put.
  const QString t = fromCp1252(text);
  if (edit->text() != t) edit->setText(t);
}

}  // namespace

MapImage::MapImage(const PositionMap& map, QWidget* parent) : QWidget(parent), map_(map) {
  setMouseTracking(true);  // the label follows the mouse with no button down too
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapImage::paintEvent(QPaintEvent*) {
  const QImage image(reinterpret_cast<const uchar*>(map_.pixels()), kMapWidth, kMapHeight,
                     kMapWidth * 4, QImage::Format_RGB32);
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

void MapImage::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseDown(p.x(), p.y());
}

void MapImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseMove(p.x(), p.y());
}

void MapImage::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseUp(p.x(), p.y());
}

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), position_(minimum) {
  upButton = new QToolButton(this);
  upButton->setArrowType(Qt::UpArrow);
  downButton = new QToolButton(this);
  downButton->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {upButton, downButton}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  QObject::connect(upButton, &QToolButton::clicked, this, [this] { setPosition(position() + 1); });
  QObject::connect(downButton, &QToolButton::clicked, this, [this] { setPosition(position() - 1); });
}

int UpDown::position() {
  int typed = 0;
  if (common::tryToInt(toCp1252(buddy_->text()), typed)) position_ = std::clamp(typed, minimum_, maximum_);
  return position_;
}

void UpDown::setPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  buddy_->setText(QString::number(position_));
}

TPositionForm::TPositionForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), editor_(session) {
  setObjectName("PositionForm");
  setWindowTitle("Position");
  setFont(sansSerif(kFontPixels));
  move(342, 110);
  resize(523, 473);

  auto button = [this](const char* name, const char* caption, int top) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setFont(sansSerif(kControlFontPixels));
    b->setGeometry(416, top, 81, 25);
    return b;
  };
  auto label = [this](const char* caption, int left, int top, int width) {
    auto* l = new QLabel(caption, this);
    l->setFont(sansSerif(kControlFontPixels));
    l->setGeometry(left, top, width, 20);
    return l;
  };
  auto edit = [this](const char* name, int left, int top, int width) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setFont(sansSerif(kControlFontPixels));
    e->setGeometry(left, top, width, 28);
    e->setTextMargins(0, 0, 0, 0);
    return e;
  };

  PositionImage = new MapImage(editor_.map, this);
  PositionImage->setObjectName("PositionImage");
  PositionImage->setGeometry(0, 8, kMapWidth, kMapHeight);
  SelectBtn = button("SelectBtn", "Select", 16);
  DropBtn = button("DropBtn", "Drop", 48);
  ResetBtn = button("ResetBtn", "Reset", 80);
  RetainBtn = button("RetainBtn", "Retain", 112);
  XYLbl = label("x,y", 416, 224, 20);
  XYLbl->setObjectName("XYLbl");
  XYLbl->setMinimumSize(20, 20);

  gridModel_ = new TextTableModel(editor_.grid, this);
  PositionGrid = new TextTableView(this);
  PositionGrid->setObjectName("PositionGrid");
  PositionGrid->setGridModel(gridModel_);
  PositionGrid->setGeometry(8, 256, 316, 185);

  label("Drop at", 368, 264, 55);
  XDropEdit = edit("XDropEdit", 352, 288, 33);
  YDropEdit = edit("YDropEdit", 400, 288, 33);
  label("Scatter", 368, 320, 54);
  XRangeEdit = edit("XRangeEdit", 352, 344, 33);
  YRangeEdit = edit("YRangeEdit", 400, 344, 33);
  label("Density", 368, 376, 57);
  DensityEdit = edit("DensityEdit", 376, 400, 25);
  DensityUpDown = new UpDown(DensityEdit, 0, kDensityMax, this);
  DensityUpDown->setObjectName("DensityUpDown");
  DensityUpDown->setGeometry(401, 400, 15, 28);
  DensityUpDown->upButton->setGeometry(0, 0, 15, 14);
  DensityUpDown->downButton->setGeometry(0, 14, 15, 14);

  connect(SelectBtn, &QPushButton::clicked, this, &TPositionForm::SelectBtnClick);
  connect(DropBtn, &QPushButton::clicked, this, &TPositionForm::DropBtnClick);
  connect(ResetBtn, &QPushButton::clicked, this, &TPositionForm::ResetBtnClick);
  connect(RetainBtn, &QPushButton::clicked, this, &TPositionForm::RetainBtnClick);
  connect(PositionImage, &MapImage::mouseDown, this, &TPositionForm::PositionImageMouseDown);
  connect(PositionImage, &MapImage::mouseMove, this, &TPositionForm::PositionImageMouseMove);
  connect(PositionImage, &MapImage::mouseUp, this, &TPositionForm::PositionImageMouseUp);
  connect(PositionGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (current.isValid()) PositionGridSelectCell(current.column(), current.row() + 1);
          });

  FormCreate();
}

TPositionForm::~TPositionForm() {
  delete PositionGrid;
  delete gridModel_;
}

bool TPositionForm::event(QEvent* e) {
  if (activation_.refreshesOn(e)) FormActivate();
  return QWidget::event(e);
}

void TPositionForm::FormCreate() {
  // The editor made the grid's headings and widths and the grey map.
  PositionGrid->applyColumnWidths();
  DensityUpDown->setPosition(0);
  pushTexts();
}

void TPositionForm::FormActivate() {
  runHandler([this] { editor_.activate(); });
}

void TPositionForm::PositionGridSelectCell(int col, int row) {
  runHandler([&] { editor_.selectCell(col, row); });
}

void TPositionForm::PositionImageMouseDown(int x, int y) {
  runHandler([&] { editor_.mouseDown({x, y}); });
}

void TPositionForm::PositionImageMouseMove(int x, int y) {
  runHandler([&] { editor_.mouseMove({x, y}); });
}

void TPositionForm::PositionImageMouseUp(int x, int y) {
  runHandler([&] { editor_.mouseUp({x, y}); });
}

// The buttons take what is being typed into a grid cell first.
void TPositionForm::SelectBtnClick() {
  PositionGrid->commitEditor();
  runHandler([this] { editor_.select(); });
}

void TPositionForm::DropBtnClick() {
  PositionGrid->commitEditor();
  runHandler([this] { editor_.drop(); });
}

void TPositionForm::ResetBtnClick() {
  PositionGrid->commitEditor();
  runHandler([this] { editor_.reset(); });
}

void TPositionForm::RetainBtnClick() {
  PositionGrid->commitEditor();
  runHandler([this] { editor_.retain(); }, "Retain Position");
}

template <typename Command>
void TPositionForm::runHandler(Command command, const char* label) {
  pullTexts();
  runCommand(session_, label, [&] {
    // The fields show what the command left, even when it stopped.
    try {
      command();
    } catch (...) {
      pushTexts();
      throw;
    }
  });
  pushTexts();
}

void TPositionForm::pullTexts() {
  editor_.xDrop = toCp1252(XDropEdit->text());
  editor_.yDrop = toCp1252(YDropEdit->text());
  editor_.xRange = toCp1252(XRangeEdit->text());
  editor_.yRange = toCp1252(YRangeEdit->text());
  editor_.density = DensityUpDown->position();
}

void TPositionForm::pushTexts() {
  setText(XDropEdit, editor_.xDrop);
  setText(YDropEdit, editor_.yDrop);
  setText(XRangeEdit, editor_.xRange);
  setText(YRangeEdit, editor_.yRange);
  XYLbl->setText(fromCp1252(editor_.xyLabel));
  XYLbl->adjustSize();  // the label grows with its text, as wide as it needs
  XYLbl->resize(std::max(XYLbl->width(), 20), 20);
  PositionImage->update();
}

}  // namespace tarnel
