// The position editor inside the running program: opened from the Tools
// menu, driven with the mouse and its buttons, retained and saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "common/file_io.h"
#include "editors/position_form.h"
#include "game_sample.h"
#include "gamefiles/game_encoders.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

constexpr int kPerSide = 12;

class PositionWindow : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_pos"};
  tarnel::testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = kPerSide;
    GameModel m = samplegen::makeGameModel(o);
    // Side 0 in rows of four on the west bank from (12, 15), side 1 on the east.
    for (int i = 0; i < 2 * kPerSide; ++i) {
      const int side = i / kPerSide, k = i % kPerSide;
      m.setWordAt(m.positionOffset(i) + offsetOf(PositionField::kX), side == 0 ? 12 + 6 * (k % 4) : 70 + 5 * (k % 4));
      m.setWordAt(m.positionOffset(i) + offsetOf(PositionField::kY), 15 + 18 * (k / 4) + side * 9);
    }
    ASSERT_TRUE(writeGameFile(path("game.dat"), m, GameFileKind::Vn3));
    windows = createWindows(prompts, tmp.path().string(), {});
    prompts.chooserAnswers.push_back(path("game.dat"));
    form().LoadVN3Save1->trigger();
    form().Position1->trigger();
    QApplication::processEvents();
  }

  std::string path(const char* name) { return (tmp.path() / name).string(); }
  TForm1& form() { return *windows->Form1; }
  TPositionForm& pos() { return *windows->PositionForm; }
  static void activate(QWidget& w) {
    w.show();
    w.activateWindow();
    QApplication::processEvents();
  }
  void mouse(QEvent::Type type, int x, int y) {
    const auto button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const auto held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(x, y), pos().PositionImage->mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
    QApplication::sendEvent(pos().PositionImage, &e);
  }
  void drag(int x0, int y0, int x1, int y1) {
    mouse(QEvent::MouseButtonPress, x0, y0);
    mouse(QEvent::MouseMove, (x0 + x1) / 2, (y0 + y1) / 2);
    mouse(QEvent::MouseMove, x1, y1);
    mouse(QEvent::MouseButtonRelease, x1, y1);
  }
  QModelIndex at(int col, int row) { return pos().PositionGrid->model()->index(row - 1, col); }
  QString cell(int col, int row) { return at(col, row).data().toString(); }
  void setCell(int col, int row, const QString& text) { pos().PositionGrid->model()->setData(at(col, row), text); }
  QRgb shown(int x, int y) { return pos().PositionImage->grab().toImage().pixel(x, y) & 0xFFFFFF; }
};

TEST_F(PositionWindow, OpenFromTheMenuDragSelectDropRetainSaveAndReload) {
  TPositionForm& f = pos();
  ASSERT_TRUE(f.isVisible() && !f.isModal());
  ASSERT_EQ(f.PositionGrid->model()->rowCount(), 2 * kPerSide);
  EXPECT_EQ(shown(4 * 12, 3 * 15), 0xFFFF00u);  // side 0's first unit
  EXPECT_EQ(shown(4 * 70 + 3, 3 * 24 + 2), 0xFF0000u);

  // A band from lower right to upper left around side 0's first row.
  drag(150, 60, 40, 40);
  EXPECT_EQ(f.XYLbl->text(), "10,13");
  EXPECT_EQ(shown(40, 50), 0x800080u);   // the outline is exclusive-or'ed into the grey
  EXPECT_EQ(shown(95, 55), 0x808080u);   // the band of the first move is wiped
  EXPECT_EQ(QStringList({f.XDropEdit->text(), f.YDropEdit->text(), f.XRangeEdit->text(), f.YRangeEdit->text()}),
            (QStringList{"23", "16", "13", "3"}));
  f.SelectBtn->click();
  f.PositionGrid->setCurrentIndex(at(kPosUnit, 5));  // and unit 5 by hand
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(cell(kPosUnit, r).endsWith('*'), r <= 5) << r;

  f.XDropEdit->setText("50");
  f.YDropEdit->setText("70");
  f.XRangeEdit->setText("1");
  f.DensityUpDown->upButton->click();
  f.DropBtn->click();
  for (int r = 1; r <= 5; ++r) {
    EXPECT_TRUE(cell(kPosX, r) == "50" && !cell(kPosUnit, r).endsWith('*')) << r;
    EXPECT_LE(std::abs(cell(kPosY, r).toInt() - 70), 2);  // Y scatter 3: up to 2 rows off
  }
  EXPECT_EQ(shown(4 * 12, 3 * 15), 0x808080u);
  EXPECT_EQ(shown(4 * 50, 3 * cell(kPosY, 1).toInt()), 0xFFFF00u);

  setCell(kPosHidden, 6, "2");
  setCell(kPosX, 7, "-1");
  setCell(kPosX, 8, "far");
  f.RetainBtn->click();
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"'far' is not a valid integer value"});
  QDialog box(&f);  // back from a dialog the grid stays as it was, to be put right
  activate(box);
  box.close();
  activate(f);
  ASSERT_EQ(cell(kPosX, 8), "far");
  setCell(kPosX, 8, "30");
  f.RetainBtn->click();
  EXPECT_TRUE(form().session().modified());
  const QString y1 = cell(kPosY, 1);
  prompts.saveAnswers.push_back(path("saved.dat"));
  form().SaveVN3SaveScn1->trigger();
  setCell(kPosX, 1, "99");  // not retained
  prompts.chooserAnswers.push_back(path("saved.dat"));
  form().LoadVN3Save1->trigger();
  activate(form());
  activate(f);  // entered again from another window: read afresh
  EXPECT_EQ(QStringList({cell(kPosX, 1), cell(kPosY, 1), cell(kPosHidden, 6), cell(kPosX, 7)}),
            (QStringList{"50", y1, "1", "-1"}));
  EXPECT_EQ(shown(4 * 24, 3 * 33), 0x808080u);  // the load asked for a redraw
  EXPECT_EQ(prompts.errors.size(), 1u);
}

}  // namespace
}  // namespace tarnel
