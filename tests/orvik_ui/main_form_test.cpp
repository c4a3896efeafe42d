#include "main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <deque>

#include "icon_list.h"
#include "orvik_core/orvik_test_files.h"
#include "common/ui/qt_prompts.h"

namespace {

// Records messages and dialogs; answers each dialog with the next queued file
// name, or Cancel when none is left.
struct ScriptedPrompts : common::Prompts {
  std::vector<std::string> messages;  // "title: text"
  std::vector<std::string> errors;
  std::deque<std::string> answers;
  std::vector<common::FileDialogState> dialogs;

  void message(const std::string& text, const std::string& title, common::MessageIcon) override { messages.push_back(title + ": " + text); }
  void errorReport(const std::string& text) override { errors.push_back(text); }
  bool openDialog(common::FileDialogState& d) override { return answer(d); }
  bool saveDialog(common::FileDialogState& d) override { return answer(d); }
  bool answer(common::FileDialogState& d) {
    dialogs.push_back(d);
    if (answers.empty()) return false;
    d.fileName = answers.front();
    answers.pop_front();
    return true;
  }
};

QApplication& app() {
  static int argc = 1;
  static char name[] = "orvik_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

std::string str(const QString& s) { return s.toStdString(); }

class OrvikMainForm : public ::testing::Test {
 protected:
  std::string cell(int row, int column) const { return str(form.DataGrid->model()->index(row, column).data().toString()); }

  // 100,000 bytes with a list at 0x00EA60 that starts with the bytes of the
  // VN1 search text: entries (212, 215), (218, 0x11DD), (5, -1).
  std::string vn1Exe() {
    return dir.write("game.exe", orvik_test::exeWith(100000, 60000, {"\xD4\x00\xD7\x00\xDA\x00\xDD\x11\x05\x00\xFF\xFF", 12}));
  }

  QApplication& application = app();
  orvik_test::TempDir dir;
  ScriptedPrompts prompts;
  orvik::TMainForm form{prompts};
};

TEST_F(OrvikMainForm, LayoutFocusOrderGridAndBoxes) {
  EXPECT_EQ(str(form.windowTitle()), "Orvik 0.10");
  EXPECT_EQ(form.font().pixelSize() * 100 + form.SearchBox->font().pixelSize(), 1718);
  EXPECT_TRUE(form.SearchBox->font().fixedPitch());
  // The search box keeps its place and height and grows to show its items whole.
  EXPECT_EQ(form.SearchBox->geometry().topLeft(), QPoint(184, 40));
  EXPECT_EQ(form.SearchBox->height(), 28);
  EXPECT_GE(form.SearchBox->width(), 225);
  EXPECT_GE(form.SearchBox->lineEdit()->width(),
            form.SearchBox->lineEdit()->fontMetrics().horizontalAdvance("00000300060009 (VN3)"));
  EXPECT_GT(form.AddressEdit->x(), form.SearchBox->geometry().right());
  EXPECT_EQ(form.DataGrid->geometry(), QRect(8, 136, 553, 297));
  EXPECT_EQ(str(form.SearchBox->currentText() + form.AddressEdit->text() + form.EntriesEdit->text() +
                form.SaveLbl->text() + form.SearchBox->itemText(3)),
            "Search BytesAddress ?\?\?\?\?\?Save Name ?\?\?00000100020003 (ZEB)");

  const std::vector<QWidget*> order = {form.SearchBox, form.SearchBtn, form.FileBtn,  form.AddressEdit,
                                       form.LoadBtn,   form.DataGrid,  form.WriteBtn, form.HelpBtn,
                                       form.AboutBtn,  form.AgainBtn,  form.EntriesEdit};
  std::vector<QWidget*> seen;
  QWidget* w = form.SearchBox;
  for (int step = 0; step < 100 && seen.size() < order.size(); ++step, w = w->nextInFocusChain())
    if (std::find(order.begin(), order.end(), w) != order.end()) seen.push_back(w);
  EXPECT_EQ(seen, order);

  const QAbstractItemModel* model = form.DataGrid->model();
  EXPECT_EQ(model->columnCount() * 1000 + model->rowCount(), 9752);
  EXPECT_TRUE(form.DataGrid->isRowHidden(1) && !form.DataGrid->isRowHidden(2));  // headings are the header
  EXPECT_EQ(str(model->headerData(3, Qt::Horizontal).toString()), " Turret\n   File");
  EXPECT_EQ(form.DataGrid->columnWidth(4) * 100 + form.DataGrid->columnWidth(5), 6450);

  form.HelpBtn->click();
  form.AboutBtn->click();
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].size(), 267u);
  EXPECT_TRUE(prompts.messages[0].starts_with("How to use Orvik: Choose the VN exe file (File Name).\nChoose"));
  EXPECT_TRUE(prompts.messages[1].starts_with("About Orvik: VN Image List Editor\nVersion 0.1b\n"));
  EXPECT_EQ(str(common::QtPrompts::nameFilters("Comma separated (*.csv)|csv| All(*.*)|*.*|Lists|*.a;*.b").join(QStringLiteral(";;"))),
            "Comma separated (*.csv);;All (*);;Lists (*.a *.b)");
}

TEST_F(OrvikMainForm, FileNameSearchAgainLoadAndWrite) {
  prompts.answers = {vn1Exe()};
  form.FileBtn->click();
  EXPECT_EQ(prompts.dialogs.at(0).filter, "Programs (*.exe)|*.exe|All files (*.*)|*.*");
  // A long path loses its middle; the name of the file stays in view.
  EXPECT_EQ(str(form.FileNameLbl->toolTip()), dir.file("game.exe"));
  EXPECT_TRUE(str(form.FileNameLbl->text()).ends_with("/game.exe"));
  form.SearchBox->setEditText("00000100020003 (ZEB)");
  form.SearchBtn->click();
  // No match: the fields show where the scan ended, and a box says so.
  EXPECT_EQ(str(form.AddressEdit->text() + form.EntriesEdit->text() + form.SaveLbl->text()), "0186A1255VN1IL.CSV");
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Search: Pattern not found"});
  // Until a Search finds the pattern, Write writes nothing and says so.
  prompts.answers = {dir.file("never.csv")};
  form.WriteBtn->click();
  EXPECT_EQ(prompts.messages.back(), "Write: Pattern not found: nothing written.");
  EXPECT_EQ(prompts.dialogs.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir.file("never.csv")));
  prompts.answers.clear();
  prompts.messages.clear();
  form.SearchBox->setCurrentIndex(0);
  form.AddressEdit->setText("0");
  form.AgainBtn->click();
  EXPECT_EQ(str(form.AddressEdit->text()), "00EA60");

  form.EntriesEdit->setText("3");
  form.LoadBtn->click();
  EXPECT_EQ(cell(2, 1) + cell(2, 2) + cell(3, 8) + cell(4, 3) + cell(4, 7), " 002  13  11None  FF");

  prompts.answers = {dir.file("out.csv")};
  form.WriteBtn->click();
  const auto& save = prompts.dialogs.at(1);
  EXPECT_EQ(save.fileName, "VN1IL.CSV");
  EXPECT_EQ(save.defaultExt, "csv");
  EXPECT_EQ(save.filter, "Comma separated (*.csv)|csv|text (*.txt)|txt| All(*.*)|*.*");
  EXPECT_EQ(dir.read("out.csv"), orvik::iconListHeader("VN1") + "   0,    2,   13,    2,   16\r\n"
                             "   1,    2,   19,   45,   74\r\n   2,    0,    6,   -1,   -1\r\n");
  EXPECT_TRUE(prompts.errors.empty() && prompts.messages.empty());

  // The next Write proposes the name of the last Search again, in the folder
  // of the last file written.
  prompts.answers = {dir.file("again.csv")};
  form.WriteBtn->click();
  EXPECT_EQ(prompts.dialogs.at(2).fileName, "VN1IL.CSV");
  EXPECT_EQ(prompts.dialogs.at(2).initialDir, dir.path.string());
}

TEST_F(OrvikMainForm, ErrorsInTheErrorBoxAndSilentStops) {
  prompts.answers = {dir.file("gone.exe")};
  form.FileBtn->click();
  form.SearchBtn->click();
  form.AgainBtn->click();
  EXPECT_TRUE(prompts.errors.empty());
  form.LoadBtn->click();  // the address is read before the file is opened
  EXPECT_EQ(prompts.errors.at(0), "'$Address ?\?\?' is not a valid integer value");

  // Write before any Load; a bad count stops it before the file is touched.
  std::ofstream(dir.file("old.csv")) << "keep";
  prompts.answers = {dir.file("old.csv"), dir.file("new.csv"), dir.file("no/folder/x.csv")};
  form.WriteBtn->click();
  EXPECT_EQ(prompts.errors.at(1), "'?\?\?' is not a valid integer value");
  EXPECT_EQ(dir.read("old.csv"), "keep");
  form.EntriesEdit->setText("1");
  form.WriteBtn->click();
  EXPECT_EQ(dir.read("new.csv"), orvik::iconListHeader("") + "   0,    0,    1,    0,    1\r\n");
  form.WriteBtn->click();
  form.WriteBtn->click();  // cancelled
  EXPECT_EQ(prompts.errors.size(), 2u);
  EXPECT_EQ(cell(2, 0), "");
}

}  // namespace
