#include "mainwindow/qt_settings.h"

#include "mainwindow/qt_prompts.h"
#include "mainwindow/settings_location.h"

namespace tarnel {

namespace {
const QString kMobDirKey = QStringLiteral("mobDirectory");
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

}  // namespace tarnel
