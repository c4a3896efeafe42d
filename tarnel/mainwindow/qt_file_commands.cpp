#include "mainwindow/qt_file_commands.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "mainwindow/main_form.h"
#include "mainwindow/qt_prompts.h"
#include "mainwindow/qt_settings.h"
#include "ui/qt_text_table.h"

namespace tarnel {

namespace {
// The local files among what is dragged; other kinds of data open nothing.
std::vector<std::string> droppedFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(pathFromUi(url.toLocalFile()));
  return paths;
}
}  // namespace

FileCommands::FileCommands(TForm1& form, Session& session)
    : QObject(&form), FileWorkflow(session), form_(form), session_(session) {
  StatusLbl = new QLabel(&form);
  StatusLbl->setObjectName(QStringLiteral("StatusLbl"));
  form.statusBar()->addWidget(StatusLbl, 1);
  form.setAcceptDrops(true);
  form.installEventFilter(this);
}

void FileCommands::run(const std::function<void()>& command) { form_.runHandler(command); }

void FileCommands::addOpenItem(QMenu* files) {
  Open1 = files->addAction(QStringLiteral("Open..."));
  Open1->setObjectName(QStringLiteral("Open1"));
  Open1->setShortcut(QKeySequence::Open);
  connect(Open1, &QAction::triggered, this, [this] { run([this] { openGameFileDialog(session_, *this); }); });
  // Whether Save has a game to write is looked at again whenever the menu opens.
  connect(files, &QMenu::aboutToShow, this, &FileCommands::updateSaveItems);
}

void FileCommands::addSaveItems(QMenu* files) {
  Save1 = files->addAction(QStringLiteral("Save"));
  Save1->setObjectName(QStringLiteral("Save1"));
  Save1->setShortcut(QKeySequence::Save);
  SaveAs1 = files->addAction(QStringLiteral("Save As..."));
  SaveAs1->setObjectName(QStringLiteral("SaveAs1"));
  SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  // A cell still being typed is stored as its own step before each command.
  connect(Save1, &QAction::triggered, this, [this] { run([this] { saveToTarget(session_, *this); }); });
  connect(SaveAs1, &QAction::triggered, this, [this] { run([this] { saveAs(session_); }); });
  updateSaveItems();
}

void FileCommands::addRecentMenu(QMenu* files) {
  RecentFiles1 = files->addMenu(QStringLiteral("Recent Files"));
  RecentFiles1->setObjectName(QStringLiteral("RecentFiles1"));
  RecentFiles1->setToolTipsVisible(true);
  ClearRecentFiles1 = new QAction(QStringLiteral("Clear Recent Files"), this);  // outlives each refill
  ClearRecentFiles1->setObjectName(QStringLiteral("ClearRecentFiles1"));
  connect(ClearRecentFiles1, &QAction::triggered, this, [this] {
    recent().clear();
    changed();
  });
  fillRecentMenu();
}

void FileCommands::fillRecentMenu() {
  if (!RecentFiles1) return;
  for (QAction* a : RecentFiles1->actions())
    if (a != ClearRecentFiles1) delete a;
  RecentFiles1->clear();
  const auto& paths = recent().paths();
  for (std::size_t k = 0; k < paths.size(); ++k) {
    QAction* a = RecentFiles1->addAction(uiText(recentMenuText(k, paths[k])));
    a->setToolTip(pathToUi(paths[k]));
    connect(a, &QAction::triggered, this, [this, k] { run([this, k] { openRecentFile(session_, *this, k); }); });
  }
  RecentFiles1->addSeparator();
  RecentFiles1->addAction(ClearRecentFiles1);
  RecentFiles1->setEnabled(!paths.empty());
}

void FileCommands::updateSaveItems() {
  for (QAction* a : {Save1, SaveAs1})
    if (a) a->setEnabled(canSave());
}

void FileCommands::changed() {
  updateSaveItems();
  // Rebuilt once the triggering item's own signal has run to its end.
  QMetaObject::invokeMethod(this, &FileCommands::fillRecentMenu, Qt::QueuedConnection);
  rememberRecentFiles(session_.model.programDir, recent().paths());
}

void FileCommands::restoreRecentFiles() {
  recent() = RecentFiles(rememberedRecentFiles(session_.model.programDir));
  fillRecentMenu();
}

void FileCommands::showStatus(const std::string& line) { StatusLbl->setText(uiText(line)); }

bool FileCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &form_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (droppedFiles(drag->mimeData()).empty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::vector<std::string> paths = droppedFiles(drop->mimeData());
      if (paths.empty()) return false;
      drop->acceptProposedAction();
      run([this, paths] { openDroppedFiles(session_, paths); });
      return true;
    }
    default: return QObject::eventFilter(watched, event);
  }
}

}  // namespace tarnel
