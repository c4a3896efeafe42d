#include "common/ui/qt_prompts.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>
#include <QStyle>
#include <QStringDecoder>
#include <QStringList>

#include "common/text1252.h"
#include "common/ui/qt_sizes.h"

namespace common {

QString uiText(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (!utf8.hasError()) return s;
  return QString::fromStdString(cp1252ToUtf8(text));
}

// Paths are UTF-8 texts in the programs; on Windows the file helpers turn
// them into wide-character names (QFile::encodeName would give the ANSI code
// page there), elsewhere they are the file system's own bytes. Qt's dialogs
// answer with forward slashes everywhere; on Windows a path the programs keep
// and show has the backslashes its users know.
#ifdef Q_OS_WIN
std::string pathFromUi(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

QString pathToUi(const std::string& path) { return QString::fromStdString(path); }
#else
std::string pathFromUi(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString pathToUi(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
#endif

namespace {
QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// Icons by kind only. The toolkit's own provider asks the MIME database,
// which reads a file's first bytes; a named pipe or /proc/kmsg then blocks the
// dialog for good.
class PlainIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override {
    return QApplication::style()->standardIcon(type == Folder || type == Drive || type == Computer
                                                   ? QStyle::SP_DirIcon
                                                   : QStyle::SP_FileIcon);
  }
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
  }
};

QString patternsOf(QString pattern) {
  QStringList out;
  for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString t = p.trimmed();
    if (t.isEmpty()) continue;
    if (t == QLatin1String("*.*"))
      out << QStringLiteral("*");
    else if (!t.contains(QLatin1Char('*')) && !t.contains(QLatin1Char('?')))
      out << QStringLiteral("*.") + t;  // a bare extension such as "csv"
    else
      out << t;
  }
  return out.join(QLatin1Char(' '));
}
}  // namespace

void widenForTitle(QMessageBox& box) {
  // The box fixes its size from its layout's minimum each time it is shown:
  // a spacer across the layout's columns carries the title's width there.
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  const QMargins m = grid->contentsMargins();
  const int width = titleBarWidth(box.windowTitle()) - m.left() - m.right();
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                std::max(grid->columnCount(), 1));
}

void widenForTitle(QWidget& dialog) {
  const int width = titleBarWidth(dialog.windowTitle());
  dialog.setMinimumWidth(std::max(dialog.minimumWidth(), width));
  if (dialog.width() < width) dialog.resize(width, dialog.height());
}

std::unique_ptr<QMessageBox> messageBox(const QString& text, const QString& title, MessageIcon icon, int buttons,
                                        QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(boxIcon(icon), title, text,
                                           static_cast<QMessageBox::StandardButtons>(buttons), parent);
  widenForTitle(*box);
  return box;
}

QAbstractFileIconProvider* contentFreeIconProvider() {
  static PlainIconProvider provider;
  return &provider;
}

QWidget* QtPrompts::owner() const {
  // The window that asked is the active one: a box raised by a secondary
  // window sits over that window, not over the main window.
  if (QWidget* active = QApplication::activeWindow()) return active;
  return parent_;
}

void QtPrompts::message(const std::string& text, const std::string& title, MessageIcon icon) {
  messageBox(uiText(text), uiText(title), icon, QMessageBox::Ok, owner())->exec();
}

void QtPrompts::errorReport(const std::string& text) {
  messageBox(uiText(text), QCoreApplication::applicationName(), MessageIcon::Error, QMessageBox::Ok, owner())->exec();
}

QStringList QtPrompts::nameFilters(const std::string& filter) {
  const QStringList parts = uiText(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // "||" between two pairs is an empty entry, not a pair of its own.
    if (parts[i].trimmed().isEmpty() && ++i + 1 >= parts.size()) break;
    QString description = parts[i].trimmed();
    // The description may name its patterns itself ("Scenarios (*.dat)");
    // the dialog filters by what stands in the last parentheses, so they are
    // replaced by the pattern half of the pair.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.endsWith(QLatin1Char(')'))) description = description.left(open).trimmed();
    QString patterns = patternsOf(parts[i + 1]);
    if (patterns.isEmpty()) patterns = QStringLiteral("*");
    // A bare mask such as the chooser's "*.dat" is shown as it is.
    if (description == patterns)
      filters << patterns;
    else
      filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  if (filters.isEmpty()) filters << QStringLiteral("All files (*)");
  return filters;
}

std::unique_ptr<QFileDialog> QtPrompts::makeDialog(const FileDialogState& dialog, bool save) const {
  auto fd = std::make_unique<QFileDialog>(owner(), uiText(dialog.title), pathToUi(dialog.initialDir));
#ifdef _WIN32
  const bool native = dialog.nativeOnWindows;
#else
  const bool native = false;
#endif
  if (!native) fd->setOption(QFileDialog::DontUseNativeDialog);
  fd->setIconProvider(contentFreeIconProvider());
  fd->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  fd->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  fd->setNameFilters(nameFilters(dialog.filter));
  fd->setDefaultSuffix(uiText(dialog.defaultExt));
  if (!dialog.overwritePrompt) fd->setOption(QFileDialog::DontConfirmOverwrite);
  if (!dialog.fileName.empty()) fd->selectFile(pathToUi(dialog.fileName));
  widenForTitle(*fd);
  return fd;
}

bool QtPrompts::runDialog(FileDialogState& dialog, bool save) {
  const auto fd = makeDialog(dialog, save);
  if (fd->exec() != QDialog::Accepted || fd->selectedFiles().isEmpty()) return false;
  dialog.fileName = pathFromUi(fd->selectedFiles().constFirst());
  return true;
}

bool QtPrompts::openDialog(FileDialogState& dialog) { return runDialog(dialog, false); }

bool QtPrompts::saveDialog(FileDialogState& dialog) { return runDialog(dialog, true); }

void QtPrompts::setBusy(bool busy) {
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace common
