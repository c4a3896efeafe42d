#include "mainwindow/qt_startup.h"

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

TarnelWindows::TarnelWindows() = default;
TarnelWindows::~TarnelWindows() = default;

std::unique_ptr<TarnelWindows> createWindows(Prompts& prompts, const std::string& programDir,
                                             const std::vector<std::string>& args) {
  auto windows = std::make_unique<TarnelWindows>();
  windows->Form1 = std::make_unique<TForm1>(prompts, programDir, args);
  TForm1* form = windows->Form1.get();
  windows->WeaponsForm = std::make_unique<TWeaponsForm>(form->session(), form);
  windows->CommentForm = std::make_unique<TCommentForm>(form->session(), form);
  TCommentForm* comment = windows->CommentForm.get();
  form->attachWindow(ToolWindow::Comment, comment);
  QObject::connect(form, &TForm1::commentMemoSet, comment, &TCommentForm::setMemoText);
  TDiceStatForm::RollEdits rollEdits;
  for (RollRow row : kRollRows) rollEdits[static_cast<std::size_t>(row)] = form->rollEdits(row);
  windows->DiceStatForm = std::make_unique<TDiceStatForm>(form->session(), rollEdits, form);
  form->attachWindow(ToolWindow::CountryStats, windows->DiceStatForm.get());
  windows->FileForm = std::make_unique<TFileForm>(form->session().model.dataDir, form);
  windows->PositionForm = std::make_unique<TPositionForm>(form->session(), form);
  form->attachWindow(ToolWindow::Position, windows->PositionForm.get());
  windows->SummaryForm =
      std::make_unique<TSummaryForm>(form->session(), [form] { return form->sideIndex(); }, form);
  form->attachWindow(ToolWindow::BattleSummary, windows->SummaryForm.get());
  windows->TurnsForm = std::make_unique<TTurnsForm>(form->session(), form);
  form->attachWindow(ToolWindow::GameData, windows->TurnsForm.get());
  windows->AmmoForm = std::make_unique<TAmmoForm>(form->session(), *windows->WeaponsForm, form);
  TAmmoForm* ammo = windows->AmmoForm.get();
  form->attachWindow(ToolWindow::UnitData, ammo);
  // The unit data editor follows the grid's selection while it is visible.
  QObject::connect(form, &TForm1::selectedUnitChanged, ammo, [ammo] {
    if (ammo->isVisible()) ammo->FormActivate();
  });
  windows->DumpForm = std::make_unique<TDumpForm>(
      form->session(), [&session = form->session()](DumpWindow& dump) { loadDumpFile(session, dump); }, form);
  form->attachWindow(ToolWindow::Dump, windows->DumpForm.get());
  for (QWidget* w : std::initializer_list<QWidget*>{
           form, windows->WeaponsForm.get(), windows->CommentForm.get(), windows->DiceStatForm.get(),
           windows->FileForm.get(), windows->PositionForm.get(), windows->SummaryForm.get(),
           windows->TurnsForm.get(), windows->AmmoForm.get(), windows->DumpForm.get()})
    common::keepOnScreen(w);
  // After an undo or redo the open windows that show the game refresh as on
  // activation (the dump window lists the directory, which no step changes).
  QObject::connect(form, &TForm1::gameRestored, form, [w = windows.get()] {
    if (w->AmmoForm->isVisible()) w->AmmoForm->FormActivate();
    if (w->TurnsForm->isVisible()) w->TurnsForm->FormActivate();
    if (w->PositionForm->isVisible()) w->PositionForm->FormActivate();
    if (w->SummaryForm->isVisible()) w->SummaryForm->FormActivate();
  });
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
  if (form.session().passwordRefused) return 0;
  QObject::connect(&form, &TForm1::mainWindowClosed, &app, &QCoreApplication::quit);
  form.show();
  form.activateWindow();
  return app.exec();
}

}  // namespace tarnel
