#include "mainwindow/qt_startup.h"

#include <exception>

#include "editors/ammo_form.h"
#include "editors/weapons_form.h"
#include "mainwindow/about.h"
#include "mainwindow/main_form.h"
#include "mainwindow/qt_prompts.h"

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
  windows->AmmoForm = std::make_unique<TAmmoForm>(form->session(), *windows->WeaponsForm, form);
  TAmmoForm* ammo = windows->AmmoForm.get();
  form->attachWindow(ToolWindow::UnitData, ammo);
  // The unit data editor follows the grid's selection while it is visible.
  QObject::connect(form, &TForm1::selectedUnitChanged, ammo, [ammo] {
    if (ammo->isVisible()) ammo->FormActivate();
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
  // A password-protected file named on the command line ends the program
  // before the window ever shows.
  if (form.session().passwordRefused) return 0;
  QObject::connect(&form, &TForm1::mainWindowClosed, &app, &QCoreApplication::quit);
  form.show();
  form.activateWindow();
  return app.exec();
}

}  // namespace tarnel
