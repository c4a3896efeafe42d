#include "mainwindow/qt_startup.h"

#include <QLabel>
#include <exception>
#include <initializer_list>

#include "common/ui/qt_screen_fit.h"
#include "editors/ammo_form.h"
#include "editors/position_form.h"
#include "editors/summary_form.h"
#include "editors/turns_form.h"
#include "editors/weapons_form.h"
#include "gamefiles/dump_form.h"
#include "mainwindow/about.h"
#include "mainwindow/file_form.h"
#include "mainwindow/main_commands.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_prompts.h"
#include "mainwindow/qt_file_commands.h"
#include "mainwindow/qt_roll_panel.h"
#include "ui/qt_text_table.h"
#include "common/ui/qt_text.h"
#include "sidefiles/comment_files.h"
#include "sidefiles/dice_stat_form.h"
#include "sidefiles/comment_form.h"

namespace tarnel {

TarnelApplication::TarnelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
  setApplicationVersion(QString::fromLatin1(kVersionText));
  // Ties the window to its desktop entry, and so to its icon.
  setDesktopFileName(QStringLiteral("org.tarnel.Tarnel"));
}

bool TarnelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    if (prompts_) prompts_->errorReport(e.what());
  }
  return false;
}

TarnelWindows::TarnelWindows(Prompts& prompts) : session(prompts), history(session) { session.setView(this); }

TarnelWindows::~TarnelWindows() {
  // The windows go before the document, the last made first; nothing they
  // do on the way out reaches them through the view.
  session.setView(nullptr);
  DumpForm.reset();
  AmmoForm.reset();
  TurnsForm.reset();
  SummaryForm.reset();
  PositionForm.reset();
  FileForm.reset();
  DiceStatForm.reset();
  CommentForm.reset();
  WeaponsForm.reset();
  Form1.reset();
}

void TarnelWindows::createMainWindow(const std::string& programDir, const std::vector<std::string>& args) {
  Form1 = std::make_unique<TForm1>(session, history);
  Form1->FormCreate(programDir, args);
}

void TarnelWindows::createSecondaryWindows() {
  TForm1* form = Form1.get();
  WeaponsForm = std::make_unique<TWeaponsForm>(session, form);
  CommentForm = std::make_unique<TCommentForm>(session, form);
  form->attachWindow(ToolWindow::Comment, CommentForm.get());
  DiceStatForm = std::make_unique<TDiceStatForm>(session, form->Rolls->allRollEdits(), form);
  form->attachWindow(ToolWindow::CountryStats, DiceStatForm.get());
  FileForm = std::make_unique<TFileForm>(session.model.dataDir, form);
  PositionForm = std::make_unique<TPositionForm>(session, form);
  form->attachWindow(ToolWindow::Position, PositionForm.get());
  SummaryForm = std::make_unique<TSummaryForm>(session, [form] { return form->sideIndex(); }, form);
  form->attachWindow(ToolWindow::BattleSummary, SummaryForm.get());
  TurnsForm = std::make_unique<TTurnsForm>(session, form);
  form->attachWindow(ToolWindow::GameData, TurnsForm.get());
  AmmoForm = std::make_unique<TAmmoForm>(session, *WeaponsForm, form);
  form->attachWindow(ToolWindow::UnitData, AmmoForm.get());
  DumpForm = std::make_unique<TDumpForm>(
      session, [&s = session](DumpWindow& dump) { loadDumpFile(s, dump); }, form);
  form->attachWindow(ToolWindow::Dump, DumpForm.get());
  for (QWidget* w : std::initializer_list<QWidget*>{form, WeaponsForm.get(), CommentForm.get(), DiceStatForm.get(),
                                                    FileForm.get(), PositionForm.get(), SummaryForm.get(),
                                                    TurnsForm.get(), AmmoForm.get(), DumpForm.get()})
    common::keepOnScreen(w);
}

// ---- What the commands ask of the windows ---------------------------------------

void TarnelWindows::dismissTitlePicture() {
  if (Form1) Form1->dismissTitlePicture();
}

void TarnelWindows::closeUnitEditor() {
  if (QWidget* editor = Form1 ? Form1->attachedWindow(ToolWindow::UnitData) : nullptr) editor->close();
}

void TarnelWindows::setCommentMemo(const std::string& text) {
  if (CommentForm) CommentForm->setMemoText(QString::fromStdString(commentMemoText(text)));
}

void TarnelWindows::closeMainWindow() {
  if (Form1) Form1->close();
}

void TarnelWindows::sideItemsChanged() {
  if (Form1)
    Form1->Rolls->setSideItems(common::fromCp1252(session.sideItems[0]), common::fromCp1252(session.sideItems[1]));
}

void TarnelWindows::fileLabelChanged() {
  if (Form1) Form1->FileLbl->setText(uiText(session.fileLabel));
}

void TarnelWindows::unitSelected() {
  // The unit data editor follows the grid's selection while it is visible.
  if (AmmoForm && AmmoForm->isVisible()) AmmoForm->FormActivate();
}

void TarnelWindows::modifiedChanged() {
  if (Form1) Form1->setWindowModified(session.modified());
}

void TarnelWindows::documentRestored(int unit) {
  if (Form1) Form1->showRestoredUnit(unit);
  // The open windows that show the game refresh as on activation (the dump
  // window lists the directory, which no step changes).
  auto refresh = [](auto& window) {
    if (window && window->isVisible()) window->FormActivate();
  };
  refresh(AmmoForm);
  refresh(TurnsForm);
  refresh(PositionForm);
  refresh(SummaryForm);
}

void TarnelWindows::commitCellEditor() {
  if (Form1) Form1->InfoStringGrid->commitEditor();
}

void TarnelWindows::statusReport(const std::string& line) {
  if (Form1) Form1->fileCommands()->showStatus(line);
}

std::unique_ptr<TarnelWindows> createMainWindow(Prompts& prompts, const std::string& programDir,
                                                const std::vector<std::string>& args) {
  auto windows = std::make_unique<TarnelWindows>(prompts);
  windows->createMainWindow(programDir, args);
  return windows;
}

std::unique_ptr<TarnelWindows> createWindows(Prompts& prompts, const std::string& programDir,
                                             const std::vector<std::string>& args) {
  auto windows = createMainWindow(prompts, programDir, args);
  windows->createSecondaryWindows();
  return windows;
}

int runTarnel(int argc, char** argv) {
  TarnelApplication app(argc, argv);
  QtPrompts prompts;
  app.setPrompts(&prompts);

  std::vector<std::string> args;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype k = 1; k < arguments.size(); ++k) args.push_back(pathFromUi(arguments[k]));

  auto windows = createWindows(prompts, pathFromUi(QCoreApplication::applicationDirPath()), args);
  TForm1& form = *windows->Form1;
  prompts.setParent(&form);
  prompts.setFileForm(windows->FileForm.get());
  // A password-protected file named on the command line ends the program
  // before the window ever shows.
  if (windows->session.passwordRefused) return 0;
  QObject::connect(&form, &TForm1::mainWindowClosed, &app, &QCoreApplication::quit);
  form.show();
  form.activateWindow();
  return app.exec();
}

}  // namespace tarnel
