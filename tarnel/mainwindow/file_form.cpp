#include "mainwindow/file_form.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "mainwindow/qt_prompts.h"

namespace tarnel {

namespace {
constexpr int kPathRole = Qt::UserRole;
}  // namespace

TFileForm::TFileForm(const std::string& directory, QWidget* parent) : QDialog(parent), chooser_(directory) {
  setObjectName(QStringLiteral("FileForm"));
  setWindowTitle(QStringLiteral("Open File"));
  setModal(true);

  FileNameEdit = new QLineEdit(QString::fromStdString(chooser_.fileNameEdit), this);
  FileNameEdit->setObjectName(QStringLiteral("FileNameEdit"));
  FileList = new QListWidget(this);
  FileList->setObjectName(QStringLiteral("FileList"));
  FileList->setTextElideMode(Qt::ElideNone);
  FileList->setMinimumWidth(340);
  DirectoryLbl = new QLabel(this);
  DirectoryLbl->setObjectName(QStringLiteral("DirectoryLbl"));
  // A long path must not widen the window.
  DirectoryLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  Directory = new QListWidget(this);
  Directory->setObjectName(QStringLiteral("Directory"));
  Directory->setMinimumWidth(200);
  DriveLetter = new QComboBox(this);
  DriveLetter->setObjectName(QStringLiteral("DriveLetter"));
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  MaskBtn = new QPushButton(QString::fromStdString(chooser_.maskBtnCaption()), this);
  MaskBtn->setObjectName(QStringLiteral("MaskBtn"));
  MaskBtn->setAutoDefault(false);
  CancelBtn->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("File name:"), this), 0, 0);
  grid->addWidget(FileNameEdit, 1, 0);
  grid->addWidget(FileList, 2, 0, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Directory:"), this), 0, 1);
  grid->addWidget(DirectoryLbl, 1, 1);
  grid->addWidget(Directory, 2, 1);
  grid->addWidget(DriveLetter, 3, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addSpacing(12);
  buttons->addWidget(MaskBtn);
  buttons->addStretch();
  grid->addLayout(buttons, 2, 2, 2, 1);
  // The file list gets the room: its items carry the preview texts.
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 1);
  resize(820, 380);

  connect(FileList, &QListWidget::currentRowChanged, this, [this] { FileListChange(); });
  connect(FileList, &QListWidget::itemClicked, this, [this] { FileListClick(); });
  // A double-click on an item chooses it, as OK does.
  connect(FileList, &QListWidget::itemDoubleClicked, this, [this] { OKBtnClick(); });
  connect(FileNameEdit, &QLineEdit::textEdited, this,
          [this](const QString& text) { chooser_.fileNameEdit = text.toStdString(); });
  connect(Directory, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    changeDirectory(pathFromUi(item->data(kPathRole).toString()));
  });
  connect(DriveLetter, &QComboBox::activated, this, [this] { DriveLetterChange(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  connect(MaskBtn, &QPushButton::clicked, this, [this] { MaskBtnClick(); });

  fillDrives();
  showDirectory();
}

void TFileForm::prepare(const GameFileChoice& choice) {
  chooser_.mask = choice.mask;
  chooser_.generation = choice.generation;
  setWindowTitle(uiText(choice.caption));
  if (!choice.initialDir.empty()) chooser_.setDirectory(choice.initialDir);
}

bool TFileForm::choose(GameFileChoice& choice) {
  prepare(choice);
  if (exec() != QDialog::Accepted) return false;
  choice.fileName = chooser_.fileNameEdit;
  return true;
}

void TFileForm::showEvent(QShowEvent* e) {
  // Each use starts afresh: the mask button's caption and the list.
  FormActivate();
  QDialog::showEvent(e);
}

void TFileForm::FormActivate() {
  // Media may have come or gone since the last use.
  fillDrives();
  chooser_.FormActivate();
  MaskBtn->setText(QString::fromStdString(chooser_.maskBtnCaption()));
  showDirectory();
  showList();
}

void TFileForm::MaskBtnClick() {
  chooser_.MaskBtnClick();
  MaskBtn->setText(QString::fromStdString(chooser_.maskBtnCaption()));
  showList();
}

void TFileForm::DriveLetterChange() {
  const int k = DriveLetter->currentIndex();
  if (k >= 0 && static_cast<std::size_t>(k) < drives_.size()) changeDirectory(drives_[static_cast<std::size_t>(k)]);
}

void TFileForm::FileListChange() {
  chooser_.FileListChange(FileList->currentRow());
  FileNameEdit->setText(QString::fromStdString(chooser_.fileNameEdit));
}

void TFileForm::OKBtnClick() {
  if (chooser_.enterTypedFolder()) {
    DirectoryChange();
    showDirectory();
    showList();
    FileNameEdit->setText(pathToUi(chooser_.fileNameEdit));
    return;
  }
  chooser_.OKBtnClick();
  FileNameEdit->setText(pathToUi(chooser_.fileNameEdit));
  accept();
}

void TFileForm::CancelBtnClick() { reject(); }

void TFileForm::changeDirectory(const std::string& directory) {
  chooser_.setDirectory(directory);
  chooser_.readList();
  DirectoryChange();
  showDirectory();
  showList();
}

void TFileForm::showList() {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(chooser_.items().size()));
  for (const FileChooser::Item& item : chooser_.items()) texts << QString::fromStdString(item.text);
  const QSignalBlocker block(FileList);
  FileList->clear();
  FileList->addItems(texts);
}

void TFileForm::showDirectory() {
  const QString current = pathToUi(chooser_.directory());
  DirectoryLbl->setText(current);
  DirectoryLbl->setToolTip(current);
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  Directory->clear();
  bool below = false;
  for (const DirectoryEntry& entry : directoryEntries(chooser_.directory())) {
    auto* item = new QListWidgetItem(below ? closed : open, pathToUi(entry.label), Directory);
    item->setData(kPathRole, pathToUi(entry.path));
    item->setData(Qt::ToolTipRole, pathToUi(entry.path));
    // Indented by depth, as a directory tree.
    item->setText(QString(entry.depth * 2, QLatin1Char(' ')) + item->text());
    if (entry.current) {
      Directory->setCurrentItem(item);
      below = true;
    }
  }
  const std::size_t drive = driveOf(drives_, chooser_.directory());
  const QSignalBlocker block(DriveLetter);
  DriveLetter->setCurrentIndex(static_cast<int>(drive));
}

void TFileForm::fillDrives() {
  drives_.clear();
  const QSignalBlocker block(DriveLetter);
  DriveLetter->clear();
#ifdef Q_OS_WIN
  for (const QFileInfo& drive : QDir::drives()) drives_.push_back(pathFromUi(drive.absoluteFilePath()));
#else
  QFile mounts(QStringLiteral("/proc/self/mounts"));
  QByteArray table;
  if (mounts.open(QIODevice::ReadOnly)) table = mounts.readAll();
  drives_ = driveChoices(std::string_view(table.constData(), static_cast<std::size_t>(table.size())),
                         pathFromUi(QDir::homePath()));
#endif
  for (const std::string& drive : drives_) DriveLetter->addItem(pathToUi(drive));
}

}  // namespace tarnel
