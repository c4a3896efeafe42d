#include "main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "../../tools/samplegen/exe_sample.cpp"
#include "icon_list.h"
#include "qt_prompts.h"
#include "scripted_prompts.h"

namespace {

using orvik::TMainForm;
using orvik_test::ScriptedPrompts;

QApplication& app() {
  static int argc = 1;
  static char name[] = "orvik_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

std::string str(const QString& s) { return s.toStdString(); }

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    dir = std::filesystem::temp_directory_path() /
          ("orvik_ui_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~MainFormTest() override { std::filesystem::remove_all(dir); }

  std::string file(const std::string& name) const { return (dir / name).string(); }

  // 100,000 bytes with an image list at 60000 (0x00EA60) that starts with the
  // bytes of the VN1 search text: entries (212, 215) and (218, 0x11DD).
  std::string vn1Exe() {
    std::vector<char> bytes(100000, 0x11);
    const unsigned char table[] = {0xD4, 0x00, 0xD7, 0x00, 0xDA, 0x00, 0xDD, 0x11, 0x05, 0x00, 0xFF, 0xFF};
    std::copy(std::begin(table), std::end(table), bytes.begin() + 60000);
    std::ofstream(file("game.exe"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file("game.exe");
  }

  void chooseAndSearch(const std::string& exe, const QString& searchText) {
    prompts.openAnswers.push_back(exe);
    form.FileBtn->click();
    form.SearchBox->setEditText(searchText);
    form.SearchBtn->click();
  }

  std::string cell(int row, int column) const {
    return str(form.DataGrid->model()->index(row, column).data().toString());
  }

  QApplication& application = app();
  std::filesystem::path dir;
  ScriptedPrompts prompts;
  TMainForm form{prompts};
};

TEST_F(MainFormTest, WindowLayoutAndCaptions) {
  EXPECT_EQ(str(form.windowTitle()), "Orvik 0.10");
  EXPECT_EQ(form.font().pixelSize(), 17);
  EXPECT_EQ(form.pos(), QPoint(47, 94));
  struct Expect {
    QWidget* widget;
    QRect rect;
    const char* text;
  };
  const Expect controls[] = {
      {form.FileBtn, {8, 8, 97, 25}, "File Name"},       {form.FileNameLbl, {120, 8, 198, 20}, "Varno File ??????"},
      {form.HelpBtn, {496, 8, 57, 25}, "Help"},          {form.LoadBtn, {8, 40, 75, 25}, "Load"},
      {form.SearchBtn, {104, 40, 75, 25}, "Search"},     {form.SearchBox, {184, 40, 225, 28}, "Search Bytes"},
      {form.AddressEdit, {416, 40, 121, 28}, "Address ???"}, {form.AgainBtn, {40, 72, 121, 25}, "Search Again"},
      {form.AboutBtn, {192, 72, 57, 25}, "About"},       {form.Label1, {360, 72, 58, 20}, "Entries:"},
      {form.EntriesEdit, {424, 72, 49, 28}, "???"},      {form.WriteBtn, {8, 104, 75, 25}, "Write"},
      {form.SaveLbl, {96, 104, 116, 20}, "Save Name ???"}, {form.DataGrid, {8, 136, 553, 297}, ""},
  };
  for (const auto& c : controls) {
    QString text;
    if (auto* b = qobject_cast<QPushButton*>(c.widget)) text = b->text();
    if (auto* l = qobject_cast<QLabel*>(c.widget)) text = l->text();
    if (qobject_cast<QLabel*>(c.widget)) {
      // Labels grow to fit their text.
      EXPECT_EQ(c.widget->pos(), c.rect.topLeft()) << c.text;
      EXPECT_GE(c.widget->width(), c.rect.width()) << c.text;
    } else {
      EXPECT_EQ(c.widget->geometry(), c.rect) << c.text;
    }
    if (auto* e = qobject_cast<QLineEdit*>(c.widget)) text = e->text();
    if (auto* box = qobject_cast<QComboBox*>(c.widget)) text = box->currentText();
    EXPECT_EQ(str(text), c.text);
  }
  EXPECT_EQ(form.SearchBox->font().pixelSize(), 18);
  EXPECT_TRUE(form.SearchBox->font().fixedPitch());
  EXPECT_TRUE(form.SearchBox->isEditable());
  ASSERT_EQ(form.SearchBox->count(), 4);
  EXPECT_EQ(str(form.SearchBox->itemText(0)), "D400D700DA00DD (VN1)");
  EXPECT_EQ(str(form.SearchBox->itemText(1)), "00000300060009 (VN2)");
  EXPECT_EQ(str(form.SearchBox->itemText(2)), "00000300060009 (VN3)");
  EXPECT_EQ(str(form.SearchBox->itemText(3)), "00000100020003 (ZEB)");
}

TEST_F(MainFormTest, FocusOrder) {
  const std::vector<QWidget*> order = {form.SearchBox, form.SearchBtn,   form.FileBtn,  form.AddressEdit,
                                       form.LoadBtn,   form.DataGrid,    form.WriteBtn, form.HelpBtn,
                                       form.AboutBtn,  form.AgainBtn,    form.EntriesEdit};
  std::vector<QWidget*> seen;
  QWidget* w = form.SearchBox;
  do {
    if (std::find(order.begin(), order.end(), w) != order.end()) seen.push_back(w);
    w = w->nextInFocusChain();
  } while (w != form.SearchBox && seen.size() < order.size());
  EXPECT_EQ(seen, order);
}

TEST_F(MainFormTest, GridHasNineColumnsAndTwoHeadingRows) {
  const QAbstractItemModel* model = form.DataGrid->model();
  EXPECT_EQ(model->columnCount(), 9);
  EXPECT_EQ(model->rowCount(), 752);
  EXPECT_TRUE(form.DataGrid->isRowHidden(0));
  EXPECT_TRUE(form.DataGrid->isRowHidden(1));
  EXPECT_FALSE(form.DataGrid->isRowHidden(2));
  EXPECT_EQ(cell(0, 0), "Graphic");
  EXPECT_EQ(cell(1, 2), "   Icon");
  EXPECT_EQ(str(model->headerData(3, Qt::Horizontal).toString()), " Turret\n   File");
  for (int c = 0; c < 9; ++c) EXPECT_EQ(form.DataGrid->columnWidth(c), c < 5 ? 64 : 50) << c;
  EXPECT_EQ(cell(2, 0), "");
}

TEST_F(MainFormTest, FileNameSearchLoadAndWrite) {
  const std::string exe = vn1Exe();
  chooseAndSearch(exe, "D400D700DA00DD (VN1)");
  ASSERT_EQ(prompts.openSeen.size(), 1u);
  EXPECT_EQ(prompts.openSeen[0].filter, "Programs (*.exe)|*.exe|All files (*.*)|*.*");
  EXPECT_EQ(str(form.FileNameLbl->text()), exe);
  EXPECT_EQ(str(form.AddressEdit->text()), "00EA60");
  EXPECT_EQ(str(form.EntriesEdit->text()), "255");
  EXPECT_EQ(str(form.SaveLbl->text()), "VN1IL.CSV");

  form.EntriesEdit->setText("3");
  form.LoadBtn->click();
  EXPECT_EQ(cell(2, 1), " 002");
  EXPECT_EQ(cell(2, 2), "  13");
  EXPECT_EQ(cell(2, 3), " 002");
  EXPECT_EQ(cell(2, 4), "  16");
  EXPECT_EQ(cell(3, 8), "  11");
  EXPECT_EQ(cell(4, 3), "None");
  EXPECT_EQ(cell(4, 7), "  FF");
  EXPECT_EQ(cell(751, 0), "  749");

  prompts.saveAnswers.push_back(file("out.csv"));
  form.WriteBtn->click();
  ASSERT_EQ(prompts.saveSeen.size(), 1u);
  EXPECT_EQ(prompts.saveSeen[0].fileName, "VN1IL.CSV");
  EXPECT_EQ(prompts.saveSeen[0].defaultExt, "csv");
  EXPECT_EQ(prompts.saveSeen[0].filter, "Comma separated (*.csv)|csv|text (*.txt)|txt| All(*.*)|*.*");
  EXPECT_FALSE(prompts.saveSeen[0].overwritePrompt);
  EXPECT_EQ(readText(file("out.csv")), orvik::iconListHeader("VN1") +
                                           "   0,    2,   13,    2,   16\r\n"
                                           "   1,    2,   19,   45,   74\r\n"
                                           "   2,    0,    6,   -1,   -1\r\n");
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainFormTest, SearchAgainMovesToTheNextMatch) {
  const std::string exe = vn1Exe();
  chooseAndSearch(exe, "00000100020003 (ZEB)");
  EXPECT_EQ(str(form.AddressEdit->text()), "0186A1");  // not found: length + 1
  form.AddressEdit->setText("0");
  form.SearchBox->setCurrentIndex(0);
  form.AgainBtn->click();
  EXPECT_EQ(str(form.AddressEdit->text()), "00EA60");
  EXPECT_EQ(str(form.SaveLbl->text()), "VN1IL.CSV");
}

TEST_F(MainFormTest, ConversionErrorsGoToTheErrorBox) {
  prompts.openAnswers.push_back(vn1Exe());
  form.FileBtn->click();
  form.LoadBtn->click();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "'$Address ??\?' is not a valid integer value");
  EXPECT_EQ(cell(2, 0), "");

  form.AddressEdit->setText("EA60");
  form.LoadBtn->click();  // EntriesEdit still "???"
  ASSERT_EQ(prompts.errors.size(), 2u);
  EXPECT_EQ(prompts.errors[1], "'??\?' is not a valid integer value");
  EXPECT_EQ(cell(2, 0), "");
}

TEST_F(MainFormTest, BadCountLeavesAnExistingFileAlone) {
  std::ofstream(file("old.csv"), std::ios::binary) << "keep me";
  prompts.saveAnswers.push_back(file("old.csv"));
  form.WriteBtn->click();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "'??\?' is not a valid integer value");
  EXPECT_EQ(readText(file("old.csv")), "keep me");
}

TEST_F(MainFormTest, WriteBeforeAnyLoadWritesZeroEntries) {
  form.EntriesEdit->setText("2");
  prompts.saveAnswers.push_back(file("zero.csv"));
  form.WriteBtn->click();
  EXPECT_EQ(prompts.saveSeen.at(0).fileName, "");
  EXPECT_EQ(readText(file("zero.csv")), orvik::iconListHeader("") +
                                            "   0,    0,    1,    0,    1\r\n"
                                            "   1,    0,    1,    0,    1\r\n");
  // Cancel writes nothing.
  std::filesystem::remove(file("zero.csv"));
  form.WriteBtn->click();
  EXPECT_FALSE(std::filesystem::exists(file("zero.csv")));
}

TEST_F(MainFormTest, MissingFilesStopSilently) {
  prompts.openAnswers.push_back(file("gone.exe"));
  form.FileBtn->click();
  form.SearchBtn->click();
  form.AgainBtn->click();
  EXPECT_EQ(str(form.AddressEdit->text()), "Address ?\?\?");
  // Load reads the address before opening, the entry count after.
  form.AddressEdit->setText("0");
  form.LoadBtn->click();
  EXPECT_EQ(str(form.SaveLbl->text()), "Save Name ???");
  EXPECT_EQ(cell(2, 0), "");
  // Cancelling the open dialog keeps the chosen name.
  form.FileBtn->click();
  EXPECT_EQ(str(form.FileNameLbl->text()), file("gone.exe"));
  // A file that cannot be created.
  form.EntriesEdit->setText("1");
  prompts.saveAnswers.push_back(file("no/folder/x.csv"));
  form.WriteBtn->click();
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainFormTest, HelpAndAboutBoxes) {
  form.HelpBtn->click();
  form.AboutBtn->click();
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].title, "How to use Orvik");
  EXPECT_EQ(prompts.messages[0].text,
            "Choose the VN exe file (File Name).\nChoose (or enter) the Search Bytes.\n"
            "Press Search and check that Address is right.\nPress Load to see the Image List in the table.\n"
            "Press Write to send the data to a file that\ncan be used by Lumbrel or a spreadsheet.");
  EXPECT_EQ(prompts.messages[1].title, "About Orvik");
  EXPECT_TRUE(prompts.messages[1].text.starts_with("VN Image List Editor\nVersion 0.1b\n"));
  EXPECT_EQ(std::count(prompts.messages[1].text.begin(), prompts.messages[1].text.end(), '\n'), 3);
}

// Set ORVIK_SCREENSHOT to a PNG path to save the window with the stand-in's
// table loaded.
TEST_F(MainFormTest, ScreenshotOfALoadedTable) {
  const char* shot = std::getenv("ORVIK_SCREENSHOT");
  if (!shot) GTEST_SKIP() << "ORVIK_SCREENSHOT not set";
  samplegen::writeExeSample(dir.string());
  prompts.openAnswers.push_back(file("varno_stand_in.exe"));
  form.FileBtn->click();
  form.SearchBox->setCurrentIndex(2);
  form.SearchBtn->click();
  form.LoadBtn->click();
  form.show();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_TRUE(form.grab().save(QString::fromLocal8Bit(shot)));
}

}  // namespace

namespace {

TEST(QtPromptsFilter, PairsBecomeNameFilters) {
  using orvik::QtPrompts;
  EXPECT_EQ(QtPrompts::nameFilters("Programs (*.exe)|*.exe|All files (*.*)|*.*").toStdString(),
            "Programs (*.exe);;All files (*.*)");
  // Descriptions without their own patterns get the pattern of their pair.
  EXPECT_EQ(QtPrompts::nameFilters("Comma separated (*.csv)|csv|text (*.txt)|txt| All(*.*)|*.*").toStdString(),
            "Comma separated (*.csv);;text (*.txt);;All(*.*)");
  EXPECT_EQ(QtPrompts::nameFilters("Lists|*.csv;*.txt").toStdString(), "Lists (*.csv *.txt)");
  EXPECT_EQ(QtPrompts::nameFilters("").toStdString(), "");
}

}  // namespace
