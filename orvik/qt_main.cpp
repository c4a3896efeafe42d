#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "main_form.h"
#include "common/ui/qt_prompts.h"

namespace {

// Shows an error that escapes an event handler in the standard error box and
// goes on running.
class OrvikApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), applicationName(), QString::fromLatin1(e.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), applicationName(), QStringLiteral("Unknown error"));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  OrvikApplication app(argc, argv);
  OrvikApplication::setApplicationName(QStringLiteral("Orvik"));
  // Ties the window to its desktop entry, and so to its icon.
  OrvikApplication::setDesktopFileName(QStringLiteral("org.tarnel.Orvik"));
  common::QtPrompts prompts;
  orvik::TMainForm form(prompts);
  prompts.setParent(&form);
  form.show();
  return app.exec();
}
