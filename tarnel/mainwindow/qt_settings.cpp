#include "mainwindow/qt_settings.h"

#include <QSettings>

#include "mainwindow/qt_prompts.h"

namespace tarnel {

namespace {
const QString kMobDirKey = QStringLiteral("mobDirectory");
const QString kRecentKey = QStringLiteral("recentFiles");

QSettings settings() { return QSettings(QStringLiteral("Tarnel"), QStringLiteral("Tarnel")); }
}  // namespace

std::string rememberedMobDir() { return pathFromUi(settings().value(kMobDirKey).toString()); }

void rememberMobDir(const std::string& dir) { settings().setValue(kMobDirKey, pathToUi(dir)); }

std::vector<std::string> rememberedRecentFiles() {
  std::vector<std::string> paths;
  for (const QString& p : settings().value(kRecentKey).toStringList()) paths.push_back(pathFromUi(p));
  return paths;
}

void rememberRecentFiles(const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& p : paths) list << pathToUi(p);
  settings().setValue(kRecentKey, list);
}

}  // namespace tarnel
