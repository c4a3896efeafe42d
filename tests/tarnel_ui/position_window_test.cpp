// The position editor inside the running program: opened from the Tools
// menu, driven with the mouse and its buttons, retained and saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
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
#include "gamefiles/section_stream.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "mainwindow/qt_unit_grid.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;

constexpr int kUnitsPerSide = 12;

class PositionWindow : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_pos"};
  fs::path dir = tmp.path();
  tarnel::testing::ScriptedPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    samplegen::SampleOptions o;
    o.unitsPerSide = kUnitsPerSide;
    GameModel m = samplegen::makeGameModel(o);
    // Side 0 deployed in rows on the west bank, side 1 on the east.
    for (int i = 0; i < 2 * kUnitsPerSide; ++i) {
      const int side = i / kUnitsPerSide, k = i % kUnitsPerSide;
      m.setWordAt(m.positionOffset(i) + kPositionX, side == 0 ? 12 + 6 * (k % 4) : 70 + 5 * (k % 4));
      m.setWordAt(m.positionOffset(i) + kPositionY, 15 + 18 * (k / 4) + side * 9);
    }
    ASSERT_TRUE(common::writeFileSafely((dir / "game.dat").string(), writeSectionStream(m, kMagicVn3)));
    windows = createWindows(prompts, dir.string(), {});
  }
  void TearDown() override { windows.reset(); }

  TForm1& form() { return *windows->Form1; }
  TPositionForm& pos() { return *windows->PositionForm; }
  GameModel& model() { return form().session().model; }

  void load(const std::string& name) {
    prompts.chooserAnswers.push_back((dir / name).string());
    form().LoadVN3Save1->trigger();
  }
  void openFromMenu() {
    form().Position1->trigger();
    QApplication::processEvents();
  }
  static void activate(QWidget& w) {
    w.show();
    w.activateWindow();
    QApplication::processEvents();
  }
  void mouse(QEvent::Type type, int x, int y) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(x, y), pos().PositionImage->mapToGlobal(QPointF(x, y)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(pos().PositionImage, &e);
  }
  QString cell(int col, int row) { return pos().PositionGrid->model()->index(row - 1, col).data().toString(); }
  void setCell(int col, int row, const QString& text) {
    pos().PositionGrid->model()->setData(pos().PositionGrid->model()->index(row - 1, col), text);
  }
  QRgb shown(int x, int y) { return pos().PositionImage->grab().toImage().pixel(x, y) & 0xFFFFFF; }
};

TEST_F(PositionWindow, OpensFromTheToolsMenuLaidOutAsDesigned) {
  ASSERT_TRUE(form().Position1->isVisible());
  EXPECT_EQ(form().Position1->text(), "Position Editor");
  openFromMenu();
  TPositionForm& f = pos();
  ASSERT_TRUE(f.isVisible());
  EXPECT_FALSE(f.isModal());
  EXPECT_EQ(f.windowTitle(), "Position");
  EXPECT_EQ(f.PositionImage->geometry(), QRect(0, 8, 400, 240));
  EXPECT_EQ(f.PositionGrid->geometry(), QRect(8, 256, 316, 185));
  EXPECT_EQ(f.DropBtn->geometry(), QRect(416, 48, 81, 25));
  EXPECT_EQ(f.DensityUpDown->geometry(), QRect(401, 400, 15, 28));
  EXPECT_EQ(f.RetainBtn->font().pixelSize(), 17);
  QStringList texts;
  for (QPushButton* b : {f.SelectBtn, f.DropBtn, f.ResetBtn, f.RetainBtn}) texts << b->text();
  for (QLineEdit* e : {f.XDropEdit, f.YDropEdit, f.XRangeEdit, f.YRangeEdit, f.DensityEdit}) texts << e->text();
  texts << f.XYLbl->text();
  EXPECT_EQ(texts, (QStringList{"Select", "Drop", "Reset", "Retain", "1", "1", "1", "1", "0", "x,y"}));
  QStringList headings;
  for (int c = 0; c < kPositionColumns; ++c) {
    headings << f.PositionGrid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(f.PositionGrid->columnWidth(c), c == kPosName ? 130 : 32);
  }
  EXPECT_EQ(headings, (QStringList{"Side", " Unit", " Unit Name", " X", " Y", "Hid."}));
  EXPECT_EQ(f.PositionGrid->model()->rowCount(), 0);  // nothing loaded
  EXPECT_EQ(shown(100, 100), 0x808080u);
}

TEST_F(PositionWindow, DragSelectDropRetainSaveAndReload) {
  load("game.dat");
  openFromMenu();
  TPositionForm& f = pos();
  ASSERT_EQ(f.PositionGrid->model()->rowCount(), 2 * kUnitsPerSide);
  EXPECT_EQ(cell(kPosX, 2), "18");
  EXPECT_EQ(shown(4 * 12, 3 * 15), 0xFFFF00u);  // side 0, first unit
  EXPECT_EQ(shown(4 * 70 + 3, 3 * 24 + 2), 0xFF0000u);

  // A band from lower right to upper left around the first row of side 0.
  mouse(QEvent::MouseButtonPress, 150, 60);
  mouse(QEvent::MouseMove, 100, 50);
  mouse(QEvent::MouseMove, 40, 40);
  mouse(QEvent::MouseButtonRelease, 40, 40);
  EXPECT_EQ(f.XYLbl->text(), "10,13");
  EXPECT_EQ(shown(40, 50), 0x800080u);  // the outline is exclusive-or'ed into the grey
  EXPECT_EQ(shown(100, 40), 0x800080u);
  EXPECT_EQ(shown(100, 55), 0x808080u);  // the first band was wiped
  EXPECT_EQ(QStringList({f.XDropEdit->text(), f.YDropEdit->text(), f.XRangeEdit->text(), f.YRangeEdit->text()}),
            (QStringList{"23", "16", "13", "3"}));
  f.SelectBtn->click();
  for (int r = 1; r <= 4; ++r) EXPECT_TRUE(cell(kPosUnit, r).endsWith('*')) << r;
  EXPECT_FALSE(cell(kPosUnit, 5).endsWith('*'));

  // Unit 5 marked by hand, then all five dropped at (50, 70), 2 rows up or
  // down at most, with density 1.
  f.PositionGrid->setCurrentIndex(f.PositionGrid->model()->index(4, kPosUnit));
  EXPECT_TRUE(cell(kPosUnit, 5).endsWith('*'));
  f.XDropEdit->setText("50");
  f.YDropEdit->setText("70");
  f.XRangeEdit->setText("1");
  f.DensityUpDown->upButton->click();
  EXPECT_EQ(f.DensityEdit->text(), "1");
  form().session().dice.seed(3);
  f.DropBtn->click();
  for (int r = 1; r <= 5; ++r) {
    EXPECT_FALSE(cell(kPosUnit, r).endsWith('*'));
    EXPECT_EQ(cell(kPosX, r), "50");
    EXPECT_LE(std::abs(cell(kPosY, r).toInt() - 70), 2);
  }
  EXPECT_EQ(shown(4 * 12, 3 * 15), 0x808080u);
  EXPECT_EQ(shown(4 * 50, 3 * cell(kPosY, 1).toInt()), 0xFFFF00u);
  EXPECT_EQ(prompts.errors.size(), 0u);

  setCell(kPosHidden, 6, "2");
  setCell(kPosX, 7, "-1");
  f.RetainBtn->click();
  EXPECT_TRUE(form().session().modified());
  const std::vector<QString> kept = {cell(kPosY, 1), cell(kPosY, 5)};

  prompts.saveAnswers.push_back((dir / "saved.dat").string());
  form().SaveVN3SaveScn1->trigger();
  ASSERT_TRUE(fs::exists(dir / "saved.dat"));
  setCell(kPosX, 1, "99");  // not retained
  load("saved.dat");
  activate(form());
  activate(f);
  EXPECT_EQ(cell(kPosX, 1), "50");
  EXPECT_EQ(cell(kPosY, 1), kept[0]);
  EXPECT_EQ(cell(kPosY, 5), kept[1]);
  EXPECT_EQ(cell(kPosHidden, 6), "1");
  EXPECT_EQ(cell(kPosX, 7), "-1");
  EXPECT_EQ(model().wordAt(model().positionOffset(6) + kPositionX), 0xFFFF);
  EXPECT_EQ(shown(4 * 24, 3 * 33), 0x808080u);  // the load asked for a redraw
}

TEST_F(PositionWindow, ComingBackDropsUnretainedEditsAndBadTextIsReported) {
  load("game.dat");
  openFromMenu();
  setCell(kPosX, 3, "far");
  pos().PositionGrid->setCurrentIndex(pos().PositionGrid->model()->index(0, kPosUnit));
  pos().RetainBtn->click();
  ASSERT_EQ(prompts.errors, std::vector<std::string>{"'far' is not a valid integer value"});
  EXPECT_EQ(cell(kPosX, 3), "far");
  EXPECT_EQ(model().wordAt(model().positionOffset(1) + kPositionX), 18);

  // Back from a dialog the grid is as it was, to be put right.
  QDialog box(&pos());
  activate(box);
  box.close();
  activate(pos());
  EXPECT_EQ(cell(kPosX, 3), "far");

  activate(form());
  activate(pos());
  EXPECT_EQ(cell(kPosX, 3), "24");
  EXPECT_FALSE(cell(kPosUnit, 1).endsWith('*'));
}

// With TARNEL_POSITION_SCREENSHOT set to a PNG path, saves the window on the
// sample game with a band dragged and its units selected.
TEST_F(PositionWindow, Screenshot) {
  const char* shot = std::getenv("TARNEL_POSITION_SCREENSHOT");
  if (!shot) GTEST_SKIP() << "TARNEL_POSITION_SCREENSHOT not set";
  load("game.dat");
  openFromMenu();
  mouse(QEvent::MouseButtonPress, 40, 30);
  mouse(QEvent::MouseMove, 150, 110);
  mouse(QEvent::MouseButtonRelease, 150, 110);
  pos().SelectBtn->click();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_TRUE(pos().grab().save(QString::fromLocal8Bit(shot)));
}

}  // namespace
}  // namespace tarnel
