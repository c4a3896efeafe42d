#include "mainwindow/qt_settings.h"

#include <QSettings>

#include "mainwindow/qt_prompts.h"

namespace tarnel {

namespace {
const QString kMobDirKey = QStringLiteral("mobDirectory");

QSettings settings() { return QSettings(QStringLiteral("Tarnel"), QStringLiteral("Tarnel")); }
}  // namespace

std::string rememberedMobDir() { return pathFromUi(settings().value(kMobDirKey).toString()); }

void rememberMobDir(const std::string& dir) { settings().setValue(kMobDirKey, pathToUi(dir)); }

}  // namespace tarnel
