#include "qt_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace orvik {

namespace {
QString fromLocal(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

void QtPrompts::message(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(title), QString::fromLatin1(text), QMessageBox::Ok,
                  parent_);
  box.exec();
}

void QtPrompts::errorReport(const std::string& text) {
  QMessageBox::critical(parent_, QCoreApplication::applicationName(), QString::fromLatin1(text));
}

QString QtPrompts::nameFilters(const std::string& filter) {
  const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    // A description that names its own patterns in parentheses is shown as it
    // is; otherwise the pattern is added for the dialog to filter by.
    if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('(')))
      filters << description;
    else
      filters << description + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                     QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

bool QtPrompts::runDialog(FileDialogState& dialog, bool save) {
  QFileDialog fd(parent_, fromLocal(dialog.title), fromLocal(dialog.initialDir));
  fd.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  fd.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  fd.setNameFilter(nameFilters(dialog.filter));
  fd.setDefaultSuffix(QString::fromLatin1(dialog.defaultExt));
  if (!dialog.overwritePrompt) fd.setOption(QFileDialog::DontConfirmOverwrite);
  if (!dialog.fileName.empty()) fd.selectFile(fromLocal(dialog.fileName));
  if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return false;
  dialog.fileName = fd.selectedFiles().first().toLocal8Bit().toStdString();
  return true;
}

bool QtPrompts::openDialog(FileDialogState& dialog) { return runDialog(dialog, false); }
bool QtPrompts::saveDialog(FileDialogState& dialog) { return runDialog(dialog, true); }

}  // namespace orvik
