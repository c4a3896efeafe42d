#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/qt_history.h"
#include "model/prompts.h"
#include "model/session.h"

namespace tarnel {

class TForm1;
class TWeaponsForm;
class TDiceStatForm;
class TDumpForm;
class TAmmoForm;
class TCommentForm;
class TFileForm;
class TPositionForm;
class TSummaryForm;
class TTurnsForm;

// The application object: an error that escapes an event handler is shown
// in the standard error box and the program goes on.
class TarnelApplication : public QApplication {
 public:
  TarnelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
  void setPrompts(Prompts* prompts) { prompts_ = prompts; }

 private:
  Prompts* prompts_ = nullptr;
};

// The application's start-up object: the open document (Session) and its
// undo history, and beside them Tarnel's windows, each created once at
// start-up in a fixed order, the main window first. Every window gets the
// document from here; what the commands ask of the windows (SessionView)
// goes to the window concerned.
class TarnelWindows : private SessionView {
 public:
  explicit TarnelWindows(Prompts& prompts);
  ~TarnelWindows() override;

  Session session;
  GameHistory history;

  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TWeaponsForm> WeaponsForm;
  std::unique_ptr<TCommentForm> CommentForm;
  std::unique_ptr<TDiceStatForm> DiceStatForm;
  std::unique_ptr<TFileForm> FileForm;
  std::unique_ptr<TPositionForm> PositionForm;
  std::unique_ptr<TSummaryForm> SummaryForm;
  std::unique_ptr<TTurnsForm> TurnsForm;
  std::unique_ptr<TAmmoForm> AmmoForm;
  std::unique_ptr<TDumpForm> DumpForm;

  // The main window, then its creation handler: the directories start at
  // programDir and a version 1.1 or VN3 file named by the first argument of
  // `args` is loaded.
  void createMainWindow(const std::string& programDir, const std::vector<std::string>& args);
  // The secondary windows, in their order, each joining the main window.
  void createSecondaryWindows();

 private:
  void dismissTitlePicture() override;
  void closeUnitEditor() override;
  void setCommentMemo(const std::string& text) override;
  void closeMainWindow() override;
  void sideItemsChanged() override;
  void fileLabelChanged() override;
  void unitSelected() override;
  void modifiedChanged() override;
  void documentRestored(int unit) override;
  void commitCellEditor() override;
  void statusReport(const std::string& line) override;
};

// Every window; the main window's creation loads the file named by the first
// argument of `args` when it is a version 1.1 or VN3 file.
std::unique_ptr<TarnelWindows> createWindows(Prompts& prompts, const std::string& programDir,
                                             const std::vector<std::string>& args);
// The document and the main window alone (tests and benchmarks).
std::unique_ptr<TarnelWindows> createMainWindow(Prompts& prompts, const std::string& programDir,
                                                const std::vector<std::string>& args);

// The whole program: set-up, windows, event loop.
int runTarnel(int argc, char** argv);

}  // namespace tarnel
