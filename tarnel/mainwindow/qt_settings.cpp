#include "mainwindow/qt_settings.h"

#include "mainwindow/qt_prompts.h"
#include "mainwindow/settings_location.h"

namespace tarnel {

namespace {
const QString kMobDirKey = QStringLiteral("mobDirectory");
const QString kRecentKey = QStringLiteral("recentFiles");
}  // namespace

std::unique_ptr<QSettings> openSettings(const std::string& programDir) {
  const std::string portable = portableSettingsFile(programDir);
  if (!portable.empty()) return std::make_unique<QSettings>(pathToUi(portable), QSettings::IniFormat);
  return std::make_unique<QSettings>(QStringLiteral("Tarnel"), QStringLiteral("Tarnel"));
}

std::string rememberedMobDir(const std::string& programDir) {
  return pathFromUi(openSettings(programDir)->value(kMobDirKey).toString());
}

void rememberMobDir(const std::string& programDir, const std::string& dir) {
  openSettings(programDir)->setValue(kMobDirKey, pathToUi(dir));
}

std::vector<std::string> rememberedRecentFiles(const std::string& programDir) {
  std::vector<std::string> paths;
  for (const QString& p : openSettings(programDir)->value(kRecentKey).toStringList()) paths.push_back(pathFromUi(p));
  return paths;
}

void rememberRecentFiles(const std::string& programDir, const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& p : paths) list << pathToUi(p);
  openSettings(programDir)->setValue(kRecentKey, list);
}

}  // namespace tarnel
