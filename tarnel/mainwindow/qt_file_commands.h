#pragma once

#include <QObject>
#include <string>

#include "mainwindow/file_workflow.h"

class QAction;
class QLabel;
class QMenu;

namespace tarnel {

class TForm1;

// The main window's everyday file commands over the file workflow: "Open...",
// "Save", "Save As...", "Recent Files", files dropped on the window, and the
// status line at the window's foot. The main window places the items in its
// Files menu; the recent list is kept in Tarnel's settings.
class FileCommands : public QObject, public FileWorkflow {
  Q_OBJECT
 public:
  FileCommands(TForm1& form, Session& session);

  // The items, added to `files` where the main window wants them.
  void addOpenItem(QMenu* files);
  void addSaveItems(QMenu* files);
  void addRecentMenu(QMenu* files);

  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QMenu* RecentFiles1 = nullptr;
  QAction* ClearRecentFiles1 = nullptr;
  QLabel* StatusLbl = nullptr;

  // The recent list as the settings beside the program keep it, once the
  // program's folder is known (it decides where the settings are).
  void restoreRecentFiles();
  // The status line shows `line` until the next report.
  void showStatus(const std::string& line);
  // The recent list or the save target changed: the menu follows and the
  // list is remembered.
  void changed() override;

 protected:
  // Files dragged over and dropped on the main window.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void run(const std::function<void()>& command);
  void updateSaveItems();
  void fillRecentMenu();

  TForm1& form_;
  Session& session_;
};

}  // namespace tarnel
