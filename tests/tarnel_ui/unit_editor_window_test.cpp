// The unit data editor and the weapons window inside the running program:
// opened from the main window, following its grid, storing into the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "editors/ammo_form.h"
#include "editors/weapons_form.h"
#include "game_sample.h"
#include "gamefiles/game_encoders.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "ui/qt_text_table.h"
#include "common/file_io.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/unit_grid.h"

namespace tarnel {
namespace {

using common::writeFileSafely;

namespace fs = std::filesystem;

// Records the icon of every message box as well.
class IconPrompts : public testing::ScriptedPrompts {
 public:
  std::vector<MessageIcon> icons;
  void message(const std::string& text, const std::string& title, MessageIcon icon) override {
    icons.push_back(icon);
    ScriptedPrompts::message(text, title, icon);
  }
};

constexpr int kUnitsPerSide = 8;

class UnitEditorWindow : public ::testing::Test {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_ued"};
  fs::path dir = tmp.path();
  IconPrompts prompts;
  GameModel original;  // what game.dat holds
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {

    samplegen::SampleOptions o;
    o.kind = GameFileKind::Vn3;
    o.unitsPerSide = kUnitsPerSide;
    original = samplegen::makeGameModel(o);
    // Unit 2's armour as Retain writes it (bytes 1 and 2 of a group equal to
    // byte 0, the second side groups equal to the first), so that only the
    // values edited below change its record.
    const UnitOffset a = original.layout->armour;
    for (int g = 0; g < 9; ++g)
      for (int k = 1; k < 3; ++k) original.setUnitByte(2, a + 4 * g + k, original.unitByte(2, a + 4 * g));
    for (int k = 0; k < 4; ++k) {
      original.setUnitByte(2, a + 8 + k, original.unitByte(2, a + 4 + k));
      original.setUnitByte(2, a + 24 + k, original.unitByte(2, a + 20 + k));
    }
    write("game.dat", encodeGame(original, GameFileKind::Vn3));
    write("KOB03", samplegen::makeMobFile(3));
    write("KOB07", samplegen::makeMobFile(7));

    windows = createWindows(prompts, dir.string(), {});
  }
  void TearDown() override { windows.reset(); }

  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(writeFileSafely((dir / name).string(), bytes));
  }

  TForm1& form() { return *windows->Form1; }
  TAmmoForm& ammo() { return *windows->AmmoForm; }
  TWeaponsForm& weapons() { return *windows->WeaponsForm; }
  Session& session() { return form().session(); }

  void load(const std::string& name) {
    prompts.chooserAnswers.push_back((dir / name).string());
    form().LoadVN3Save1->trigger();
  }
  void selectUnit(int row, int col = 2) {
    form().InfoStringGrid->setCurrentIndex(form().InfoStringGrid->model()->index(row - 1, col));
  }
  static void activate(QWidget& w) {
    w.show();
    w.raise();
    w.activateWindow();
    QApplication::processEvents();
  }
  // Clicking the "Unit Data" button shows the editor, which fills itself as
  // it becomes the active window.
  void openEditor() {
    form().AmmoBtn->click();
    QApplication::processEvents();
  }
  QString weaponCell(int slot) { return ammo().WeaponsGrid->item(slot - 1, 0)->text(); }
  QLineEdit* edit(UnitField f) { return ammo().numberEdits[static_cast<std::size_t>(f)]; }
  QString mainGridCell(GridColumn col, int row) {
    return form().InfoStringGrid->model()->index(row - 1, indexOf(col)).data().toString();
  }
  std::string weaponName(int side, int w) { return session().mob.weaponName(side, w); }
};

TEST_F(UnitEditorWindow, ControlsBeforeAnyUnit) {
  TAmmoForm& f = ammo();
  EXPECT_EQ(f.windowTitle(), "Unit Data");
  EXPECT_EQ(weapons().windowTitle(), "Weapons");
  EXPECT_EQ(f.NameEdit->text(), "Unit Name");
  EXPECT_EQ(f.LeaderEdit->text(), "Leader1/Leader2");
  EXPECT_FALSE(f.PasteBtn->isEnabled());
  EXPECT_EQ(f.RetainBtn->text(), "Retain");
  EXPECT_EQ(f.CopyBtn->text(), "Copy");
  EXPECT_EQ(f.PasteBtn->text(), "Paste");
  EXPECT_EQ(weapons().SetBtn->text(), "Set");
  ASSERT_EQ(f.RankCB->count(), 10);
  EXPECT_EQ(f.RankCB->itemText(0), "1-Pvt");
  EXPECT_EQ(f.RankCB->itemText(9), "10-Gen");
  EXPECT_EQ(f.RankCB->currentIndex(), -1);
  // Each edit by its name, starting at "0", with its caption beside it.
  QStringList captions;
  for (QLabel* l : f.findChildren<QLabel*>()) captions << l->text();
  for (int k = 0; k < kUnitFieldCount; ++k) {
    const UnitFieldInfo& info = unitFieldInfo(static_cast<UnitField>(k));
    auto* e = f.findChild<QLineEdit*>(info.control);
    ASSERT_NE(e, nullptr) << info.control;
    EXPECT_EQ(e->text(), "0") << info.control;
    EXPECT_TRUE(captions.contains(info.caption)) << info.caption;
  }
  for (const char* c : {"Leaders", "Rank", "Kills", "Supression", "Stab.", "Surv."})
    EXPECT_TRUE(captions.contains(c)) << c;
  for (const char* name : {"NameEdit", "LeaderEdit", "RankCB", "WeaponsGrid", "ArmorGrid",
                           "RetainBtn", "CopyBtn", "PasteBtn"})
    EXPECT_NE(f.findChild<QWidget*>(name), nullptr) << name;

  // Shown with no unit selected: the fixed texts appear, the rest stays.
  openEditor();
  ASSERT_TRUE(f.isVisible());
  const QStringList weaponHeads = {"Weapon", "HE", "AP", "S1", "S2"};
  const QStringList armourHeads = {"Area", "Front", "Sides", "Rear", "Top"};
  const int weaponWidths[] = {170, 35, 35, 35, 35};
  const int armourWidths[] = {122, 47, 47, 47, 47};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(f.WeaponsGrid->horizontalHeaderItem(c)->text(), weaponHeads[c]);
    EXPECT_EQ(f.ArmorGrid->horizontalHeaderItem(c)->text(), armourHeads[c]);
    EXPECT_EQ(f.WeaponsGrid->columnWidth(c), weaponWidths[c]);
    EXPECT_EQ(f.ArmorGrid->columnWidth(c), armourWidths[c]);
  }
  EXPECT_EQ(f.WeaponsGrid->rowCount(), 4);
  EXPECT_EQ(weaponCell(1), " 1");
  EXPECT_EQ(weaponCell(4), " 4");
  EXPECT_EQ(f.ArmorGrid->item(0, 0)->text(), "Hull Normal");
  EXPECT_EQ(f.ArmorGrid->item(3, 0)->text(), "Turret Heat");
  EXPECT_FALSE(f.ArmorGrid->item(1, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(f.ArmorGrid->item(1, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(f.NameEdit->text(), "Unit Name");
  f.RetainBtn->click();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(UnitEditorWindow, EditChooseRetainSaveAndReload) {
  load("game.dat");
  ASSERT_TRUE(form().AmmoBtn->isEnabled());
  selectUnit(3);
  openEditor();
  TAmmoForm& f = ammo();
  ASSERT_TRUE(f.isVisible());
  const int unit = 2;
  const GenerationLayout& L = kVn3Layout;
  EXPECT_EQ(f.NameEdit->text().toStdString(), original.unitName(unit));
  EXPECT_EQ(f.LeaderEdit->text(), mainGridCell(GridColumn::kLeader, 3));
  EXPECT_EQ(edit(kSpeed)->text().toInt(), original.unitByte(unit, L.speed));
  EXPECT_EQ(edit(kKills)->text().toInt(), original.leaderWord(unit, LeaderField::kKills));
  EXPECT_EQ(f.RankCB->currentIndex(), original.leaderByte(unit, LeaderField::kRank) - 1);
  EXPECT_EQ(weaponCell(1).toStdString(), weaponName(0, original.unitByte(unit, L.weapons)));
  EXPECT_EQ(f.WeaponsGrid->currentColumn(), 1);

  // Typed, then lost on coming back from the weapons window.
  f.WeaponsGrid->item(0, 1)->setText("39");
  f.WeaponsGrid->setCurrentCell(1, 0);  // slot 2's name
  ASSERT_TRUE(weapons().isVisible());
  activate(weapons());
  ASSERT_EQ(weapons().WeaponsLB->count(), 250);
  EXPECT_EQ(weapons().WeaponsLB->item(0)->text(), "0) ");
  EXPECT_EQ(weapons().WeaponsLB->item(17)->text().toStdString(), "17) " + weaponName(0, 17));
  EXPECT_TRUE(weapons().WeaponsLB->selectedItems().isEmpty());
  weapons().SetBtn->click();  // nothing selected: nothing happens
  EXPECT_EQ(session().model.selectedWeapons[1], original.unitByte(unit, L.weapons + 1));
  weapons().WeaponsLB->setCurrentRow(5);
  weapons().SetBtn->click();
  // A double-click on a line sets it, as Set does.
  QListWidget* lines = weapons().WeaponsLB;
  lines->setCurrentRow(17);
  lines->doItemsLayout();
  lines->scrollToItem(lines->item(17));
  const QPoint at = lines->visualItemRect(lines->item(17)).center();
  QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, at);
  EXPECT_TRUE(weapons().isVisible());
  EXPECT_EQ(weaponCell(2).toStdString(), weaponName(0, 17));
  activate(f);
  EXPECT_EQ(f.WeaponsGrid->item(0, 1)->text().toInt(), original.unitByte(unit, L.ammunition));
  EXPECT_EQ(weaponCell(2).toStdString(), weaponName(0, 17));

  f.NameEdit->setText("Edited Panzer Company");
  f.LeaderEdit->setText("Novak/Ada");
  edit(kKills)->setText("300");
  f.WeaponsGrid->item(0, 1)->setText("300");
  f.ArmorGrid->item(0, 2)->setText("77");  // "Sides" of "Hull Normal"
  f.RankCB->setCurrentIndex(9);
  f.RetainBtn->click();
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
  EXPECT_EQ(f.NameEdit->text(), "Edited Panzer C");
  EXPECT_EQ(mainGridCell(GridColumn::kName, 3), "Edited Panzer C");
  EXPECT_EQ(mainGridCell(GridColumn::kLeader, 3), "Novak/Ada");

  prompts.saveAnswers.push_back((dir / "saved.dat").string());
  form().SaveVN3SaveScn1->trigger();
  ASSERT_TRUE(fs::exists(dir / "saved.dat"));
  load("saved.dat");
  EXPECT_FALSE(f.isVisible());  // every load closes the editor

  GameModel expected = original;
  const std::string name("Edited Panzer C\0", 16), leader("Novak\0Ada\0\0\0\0\0\0\0", 16);
  for (int k = 0; k < 16; ++k) {
    expected.setUnitByte(unit, UnitOffset{k}, name[static_cast<std::size_t>(k)]);
    expected.setByteAt(expected.leaderOffset(unit) + k, leader[static_cast<std::size_t>(k)]);
  }
  expected.setLeaderByte(unit, LeaderField::kKills, 44);
  expected.setByteAt(expected.fieldOffset(unit, LeaderField::kKills) + 1, 1);
  expected.setLeaderByte(unit, LeaderField::kRank, 10);
  expected.setUnitByte(unit, L.ammunition, 44);
  for (int k : {4, 5, 6, 8, 9, 10}) expected.setUnitByte(unit, L.armour + k, 77);
  expected.setUnitByte(unit, L.weapons + 1, 17);
  expected.setUnitByte(unit, L.mobNumbers + 1, 3);
  const auto& got = session().model.image();
  std::vector<int> differ;
  for (std::size_t k = 0; k < got.size(); ++k)
    if (got[k] != expected.image()[k]) differ.push_back(static_cast<int>(k));
  EXPECT_TRUE(differ.empty()) << differ.size() << " bytes differ, first at " << differ.front();
}

TEST_F(UnitEditorWindow, FollowsTheGridWhileVisible) {
  load("game.dat");
  selectUnit(2);
  openEditor();
  EXPECT_EQ(ammo().NameEdit->text(), mainGridCell(GridColumn::kName, 2));
  ammo().NameEdit->setText("not kept");
  selectUnit(kUnitsPerSide + 3, 5);  // a side 1 unit
  EXPECT_EQ(ammo().NameEdit->text(), mainGridCell(GridColumn::kName, kUnitsPerSide + 3));
  EXPECT_EQ(ammo().editor().currentSide, 1);
  const int w = original.unitByte(kUnitsPerSide + 2, kVn3Layout.weapons);
  EXPECT_EQ(weaponCell(1).toStdString(), weaponName(1, w));
  // The weapons window lists the side of the unit now shown.
  ammo().WeaponsGrid->setCurrentCell(3, 0);
  activate(weapons());
  EXPECT_EQ(weapons().WeaponsLB->item(1)->text().toStdString(), "1) " + weaponName(1, 1));
  EXPECT_NE(weaponName(1, 1), weaponName(0, 1));

  // Hidden, it does not follow; shown again, it refills.
  ammo().hide();
  selectUnit(4);
  EXPECT_EQ(ammo().NameEdit->text(), mainGridCell(GridColumn::kName, kUnitsPerSide + 3));
  openEditor();
  EXPECT_EQ(ammo().NameEdit->text(), mainGridCell(GridColumn::kName, 4));

  // The command-line load leaves it open; a menu load closes it.
  ASSERT_TRUE(startupLoad(session(), (dir / "game.dat").string()));
  EXPECT_TRUE(ammo().isVisible());
  load("game.dat");
  EXPECT_FALSE(ammo().isVisible());
}

TEST_F(UnitEditorWindow, RefusalsAndErrorsShowAndTheRestIsStored) {
  load("game.dat");
  selectUnit(5);
  openEditor();
  const int unit = 4;
  ammo().LeaderEdit->setText("SmithJones");
  edit(kKills)->setText("7");
  ammo().RetainBtn->click();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastTitle(), "Error");
  EXPECT_EQ(prompts.icons.back(), MessageIcon::Stop);
  EXPECT_EQ(prompts.lastText(),
            "The names must be of the form xxx/yyyyy where\nthe total of x's and y's cannot exceed "
            "14. \nDon't forget the /.\nLeaders names not saved!");
  EXPECT_EQ(session().model.leaderWord(unit, LeaderField::kKills), 7);
  EXPECT_EQ(mainGridCell(GridColumn::kLeader, 5).toStdString(), leaderText(original, unit));

  edit(kSize)->setText("big");
  ammo().RetainBtn->click();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "'big' is not a valid integer value");
  EXPECT_EQ(edit(kSize)->text(), "big");  // the window keeps what was typed

  ammo().CopyBtn->click();
  ASSERT_EQ(prompts.errors.size(), 2u);
  EXPECT_FALSE(ammo().PasteBtn->isEnabled());
}

TEST_F(UnitEditorWindow, CopyAndPasteThroughTheButtons) {
  load("game.dat");
  selectUnit(2);
  openEditor();
  ammo().CopyBtn->click();
  ASSERT_TRUE(ammo().PasteBtn->isEnabled());
  const QString copiedName = ammo().NameEdit->text();
  selectUnit(7);
  const QString kills = edit(kKills)->text();
  ammo().PasteBtn->click();
  EXPECT_EQ(ammo().NameEdit->text(), copiedName);
  EXPECT_EQ(edit(kKills)->text(), kills);
  ammo().RetainBtn->click();
  EXPECT_EQ(session().model.unitName(6), session().model.unitName(1));
  EXPECT_EQ(mainGridCell(GridColumn::kName, 7), copiedName);
}

TEST_F(UnitEditorWindow, TakingTheFocusOpensNoWeaponsWindow) {
  load("game.dat");
  openEditor();
  ammo().WeaponsGrid->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_TRUE(ammo().WeaponsGrid->hasFocus());
  EXPECT_EQ(ammo().WeaponsGrid->currentColumn(), 1);
  EXPECT_FALSE(weapons().isVisible());
}

TEST_F(UnitEditorWindow, WithoutWeaponNamesNothingOpens) {
  fs::remove(dir / "KOB03");
  load("game.dat");
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.lastText(),
            "Could not open " + (dir / "KOB03").string() + ". Weapons names not available");
  selectUnit(2);
  openEditor();
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(weaponCell(s), QString("Weapon #%1").arg(s));
  ammo().WeaponsGrid->setCurrentCell(0, 0);
  EXPECT_FALSE(weapons().isVisible());
  EXPECT_EQ(ammo().WeaponsGrid->currentColumn(), 0);  // the cell is selected all the same
}

}  // namespace
}  // namespace tarnel
