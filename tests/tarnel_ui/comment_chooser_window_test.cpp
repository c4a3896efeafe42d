// The "Open File" chooser and the comment window inside the running program:
// loads of each generation chosen in the real window, and a comment edited,
// saved and read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "common/file_io.h"
#include "game_sample.h"
#include "mainwindow/file_form.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_startup.h"
#include "sidefiles/comment_form.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"

namespace tarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Scripted messages and dialogs, but the game-file chooser is the real
// window, driven by `user` once it shows.
class ChooserPrompts : public testing::ScriptedPrompts {
 public:
  TFileForm* fileForm = nullptr;
  std::function<void(TFileForm&)> user;
  bool chooseGameFile(GameFileChoice& choice) override {
    QTimer::singleShot(0, fileForm, [this] { user(*fileForm); });
    return fileForm->choose(choice);
  }
};

QStringList listTexts(const QListWidget* list) {
  QStringList texts;
  for (int k = 0; k < list->count(); ++k) texts << list->item(k)->text();
  return texts;
}

// Selects a file's item as a click would and presses OK.
void pick(TFileForm& f, const QString& name) {
  for (int k = 0; k < f.FileList->count(); ++k)
    if (f.FileList->item(k)->text().startsWith(name)) f.FileList->setCurrentRow(k);
  f.OKBtn->click();
}

class ChooserAndCommentWindows : public ::testing::Test {
 protected:
  testing::TestDir tmp{"tarnel_ccw"};
  ChooserPrompts prompts;
  std::unique_ptr<TarnelWindows> windows;

  void SetUp() override {
    for (const char* mob : {"KOB03", "KOB07", "MOB03", "MOB07"}) write(mob, samplegen::makeMobFile(mob[4] - '0'));
    const std::pair<const char*, GameFileKind> games[] = {{"SCEN10.DAT", GameFileKind::V10},
                                                          {"SAVE11.DAT", GameFileKind::V11},
                                                          {"SAVE30.DAT", GameFileKind::Vn3},
                                                          {"more/scen31.dat", GameFileKind::Vn3}};
    std::filesystem::create_directory(tmp.path() / "more");
    for (const auto& [name, kind] : games) {
      samplegen::SampleOptions o;
      o.kind = kind;
      o.unitsPerSide = 6;
      write(name, samplegen::makeGameFile(o));
    }
    write("SAVE11.cmt", Bytes{'R', 'i', 'd', 'g', 'e'});
    write("SAVE30.cmt", Bytes{'H', 'e', 'l', 'l', 'o'});
    windows = createWindows(prompts, tmp.path().string(), {});
    prompts.fileForm = windows->FileForm.get();
  }
  void TearDown() override { windows.reset(); }

  void write(const std::string& name, const Bytes& bytes) { ASSERT_TRUE(common::writeFileSafely(at(name), bytes)); }
  std::string at(const std::string& name) const { return (tmp.path() / name).string(); }
  TForm1& form() { return *windows->Form1; }
  TCommentForm& comment() { return *windows->CommentForm; }
  Session& session() { return form().session(); }
  void loadThrough(QAction* item, const QString& name) {
    prompts.user = [name](TFileForm& f) { pick(f, name); };
    item->trigger();
  }
};

TEST_F(ChooserAndCommentWindows, EachGenerationLoadsThroughTheChooser) {
  const std::tuple<QAction*, const char*, const char*, GameFileKind> loads[] = {
      {form().LoadScenarioFile1, "Open Version 1.0 file", "SCEN10.DAT -> *-> ", GameFileKind::V10},
      {form().LoadVer11Save1, "Open Version 1.1 file", "SAVE11.DAT -> *-> Ridge", GameFileKind::V11},
      {form().LoadVN3Save1, "Open Version 1.1 file", "SAVE30.DAT -> *-> Hello", GameFileKind::Vn3},
  };
  for (const auto& [item, caption, text, kind] : loads) {
    QStringList shown;
    prompts.user = [&](TFileForm& f) {
      shown = QStringList{f.windowTitle(), f.DirectoryLbl->text()} + listTexts(f.FileList);
      pick(f, QString::fromLatin1(text).left(10));
    };
    item->trigger();
    EXPECT_EQ(shown.value(0), caption);
    EXPECT_EQ(shown.value(1).toStdString(), tmp.path().string());
    EXPECT_EQ(shown.size(), 5);
    EXPECT_TRUE(shown.contains(text)) << text;
    EXPECT_EQ(session().model.loaded, kind);
    EXPECT_EQ(session().model.currentPath, at(QString::fromLatin1(text).left(10).toStdString()));
  }
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();

  // Into a folder by the directory list, then to the root by the drive
  // selector; Cancel loads nothing.
  QStringList inMore;
  QString atRoot;
  prompts.user = [&](TFileForm& f) {
    emit f.Directory->itemActivated(f.Directory->findItems(QStringLiteral("more"), Qt::MatchEndsWith).value(0));
    inMore = listTexts(f.FileList);
    emit f.DriveLetter->activated(0);
    atRoot = f.DirectoryLbl->text();
    f.CancelBtn->click();
  };
  form().LoadVer11Save1->trigger();
  EXPECT_EQ(inMore, QStringList{"scen31.dat -> "});
  EXPECT_EQ(atRoot, "/");
  EXPECT_EQ(session().model.currentPath, at("SAVE30.DAT"));
}

TEST_F(ChooserAndCommentWindows, TypedFolderOpensAndDoubleClickChooses) {
  QStringList inMore;
  prompts.user = [&](TFileForm& f) {
    f.FileNameEdit->selectAll();
    QTest::keyClicks(f.FileNameEdit, QStringLiteral("more"));
    f.OKBtn->click();  // opens the folder; the window stays
    inMore = QStringList{f.DirectoryLbl->text(), f.FileNameEdit->text()} + listTexts(f.FileList);
    QListWidget* list = f.FileList;
    list->doItemsLayout();
    const QPoint item = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
  };
  form().LoadVN3Save1->trigger();
  EXPECT_EQ(inMore, (QStringList{QString::fromStdString(at("more")), "", "scen31.dat -> *-> "}));
  EXPECT_EQ(session().model.currentPath, at("more/scen31.dat"));
  EXPECT_EQ(session().model.loaded, GameFileKind::Vn3);
}

TEST_F(ChooserAndCommentWindows, CommentIsEditedSavedAndReadBack) {
  loadThrough(form().LoadVN3Save1, "SAVE30.DAT");
  form().EditCommentFile1->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(comment().isVisible());
  EXPECT_EQ(comment().windowTitle(), "Comment");
  EXPECT_EQ(comment().CommentMemo->toPlainText(), "Hello");

  comment().CommentMemo->setPlainText(QStringLiteral("Crossing at dawn.\nHold the bridge."));
  prompts.saveAnswers.push_back(at("SAVE30.cmt"));
  form().SaveCommentFile1->trigger();
  const std::string_view saved = "Crossing at dawn.\r\nHold the bridge.";
  Bytes expected(saved.begin(), saved.end());
  expected.resize(200, 0);
  EXPECT_EQ(common::readFileBytes(at("SAVE30.cmt")), expected);

  // The buffer still holds the game's comment: the window shows it again
  // when the user comes back to it from the main window. Loading the saved
  // file brings the new text.
  for (QWidget* w : {static_cast<QWidget*>(&form()), static_cast<QWidget*>(&comment())}) {
    w->show();
    w->activateWindow();
    QApplication::processEvents();
  }
  EXPECT_EQ(comment().CommentMemo->toPlainText(), "Hello");
  prompts.openAnswers.push_back(at("SAVE30.cmt"));
  form().LoadCommentFile1->trigger();
  EXPECT_EQ(comment().CommentMemo->toPlainText(), "Crossing at dawn.\nHold the bridge.");

  // Every byte Windows-1252 holds comes back from the window as it was
  // read, the no-break space 0xA0 among them; CR LF is the line break.
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') all += static_cast<char>(b);
  for (const std::string& text : {all.substr(0, 100) + "\r\n" + all.substr(100, 97), all.substr(197) + "\xA0x\xA0"}) {
    Bytes file(text.begin(), text.end());
    file.resize(200, 0);
    write("bytes.cmt", file);
    prompts.openAnswers.push_back(at("bytes.cmt"));
    form().LoadCommentFile1->trigger();
    prompts.saveAnswers.push_back(at("again.cmt"));
    form().SaveCommentFile1->trigger();
    EXPECT_EQ(common::readFileBytes(at("again.cmt")), file);
  }

  // A game without a comment file empties the window.
  loadThrough(form().LoadScenarioFile1, "SCEN10.DAT");
  EXPECT_EQ(comment().CommentMemo->toPlainText(), "");
  EXPECT_TRUE(prompts.messages.empty()) << prompts.lastText();
}

}  // namespace
}  // namespace tarnel
