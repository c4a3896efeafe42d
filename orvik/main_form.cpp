#include "main_form.h"

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "common/file_io.h"
#include "common/ui/qt_prompts.h"
#include "icon_list.h"
#include "qt_data_grid_model.h"
#include "version.h"

namespace orvik {

namespace {

const char* const kHelpText =
    "Choose the VN exe file (File Name).\n"
    "Choose (or enter) the Search Bytes.\n"
    "Press Search and check that Address is right.\n"
    "Press Load to see the Image List in the table.\n"
    "Press Write to send the data to a file that\n"
    "can be used by Lumbrel or a spreadsheet.";

const char* const kAboutText =
    "VN Image List Editor\n"
    "Version 0.1b\n"
    "Written by the Orvik developers\n"
    "December 2026";

// Typed texts are single-byte characters; paths are in the file system's encoding.
std::string typed(const QString& text) { return text.toLatin1().toStdString(); }
QString fromPath(const std::string& p) { return common::pathToUi(p); }

template <typename W>
W* place(W* widget, int left, int top, int width, int height) {
  widget->setGeometry(left, top, width, height);
  return widget;
}

QPushButton* button(const char* caption, QWidget* parent, int left, int top, int width, int height) {
  return place(new QPushButton(QString::fromLatin1(caption), parent), left, top, width, height);
}

// Labels grow to fit their text, as far as the window allows.
void fitLabel(QLabel* label, int minWidth, int maxWidth) {
  label->resize(std::clamp(label->sizeHint().width(), minWidth, std::max(minWidth, maxWidth)), label->height());
}

QLabel* label(const char* caption, QWidget* parent, int left, int top, int width, int height) {
  return place(new QLabel(QString::fromLatin1(caption), parent), left, top, width, height);
}

QLineEdit* edit(const char* text, QWidget* parent, int left, int top, int width, int height) {
  return place(new QLineEdit(QString::fromLatin1(text), parent), left, top, width, height);
}

}  // namespace

TMainForm::TMainForm(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Orvik ") + QString::fromLatin1(kVersionText));
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                    QStringLiteral("Helvetica"), QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(17);
  setFont(font);
  // 573 x 465 with the window frame; the client area is what is left inside it.
  move(47, 94);
  setFixedSize(565, 438);

  FileBtn = button("File Name", this, 8, 8, 97, 25);
  FileNameLbl = label("Varno File ??????", this, 120, 8, 198, 20);
  HelpBtn = button("Help", this, 496, 8, 57, 25);
  LoadBtn = button("Load", this, 8, 40, 75, 25);
  SearchBtn = button("Search", this, 104, 40, 75, 25);
  SearchBox = place(new QComboBox(this), 184, 40, 225, 28);
  AddressEdit = edit("Address ???", this, 416, 40, 121, 28);
  AgainBtn = button("Search Again", this, 40, 72, 121, 25);
  AboutBtn = button("About", this, 192, 72, 57, 25);
  Label1 = label("Entries:", this, 360, 72, 58, 20);
  EntriesEdit = edit("???", this, 424, 72, 49, 28);
  WriteBtn = button("Write", this, 8, 104, 75, 25);
  SaveLbl = label("Save Name ???", this, 96, 104, 116, 20);
  DataGrid = place(new QTableView(this), 8, 136, 553, 297);

  fitLabel(Label1, 58, EntriesEdit->x() - Label1->x());
  fitLabel(SaveLbl, 116, 360 - SaveLbl->x());

  QFont fixed(QStringLiteral("Monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  fixed.setPixelSize(18);
  SearchBox->setFont(fixed);
  SearchBox->setEditable(true);
  SearchBox->setInsertPolicy(QComboBox::NoInsert);
  SearchBox->addItems({QStringLiteral("D400D700DA00DD (VN1)"), QStringLiteral("00000300060009 (VN2)"),
                       QStringLiteral("00000300060009 (VN3)"), QStringLiteral("00000100020003 (ZEB)")});
  // The box is as wide as its longest item needs, so "00000300060009 (VN3)"
  // shows whole; the address field moves over by what it takes.
  QStyleOptionComboBox option;
  option.initFrom(SearchBox);
  int textWidth = 0;
  for (int i = 0; i < SearchBox->count(); ++i)
    textWidth = std::max(textWidth, QFontMetrics(fixed).horizontalAdvance(SearchBox->itemText(i)));
  const int boxWidth = std::max(225, style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                              QSize(textWidth + 8, 28), SearchBox).width());
  SearchBox->resize(boxWidth, 28);
  AddressEdit->move(std::max(416, SearchBox->x() + boxWidth + 4), AddressEdit->y());
  SearchBox->setCurrentIndex(-1);
  SearchBox->setEditText(QStringLiteral("Search Bytes"));
  // Show the digits, not the end of a long item text.
  connect(SearchBox, &QComboBox::currentIndexChanged, SearchBox, [this] { SearchBox->lineEdit()->setCursorPosition(0); });

  gridModel_ = new DataGridModel(extractor_, this);
  DataGrid->setModel(gridModel_);
  DataGrid->verticalHeader()->hide();
  DataGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DataGrid->verticalHeader()->setMinimumSectionSize(24);
  DataGrid->verticalHeader()->setDefaultSectionSize(24);
  QHeaderView* headings = DataGrid->horizontalHeader();
  headings->setSectionResizeMode(QHeaderView::Fixed);
  headings->setSectionsClickable(false);
  headings->setHighlightSections(false);
  headings->setFixedHeight(2 * 24);
  headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Rows 0 and 1 hold the headings, shown by the header so they stay in place.
  for (int row = 0; row < kHeadingRows; ++row) DataGrid->setRowHidden(row, true);
  DataGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DataGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  DataGrid->setWordWrap(false);

  setTabOrder(SearchBox, SearchBtn);
  setTabOrder(SearchBtn, FileBtn);
  setTabOrder(FileBtn, AddressEdit);
  setTabOrder(AddressEdit, LoadBtn);
  setTabOrder(LoadBtn, DataGrid);
  setTabOrder(DataGrid, WriteBtn);
  setTabOrder(WriteBtn, HelpBtn);
  setTabOrder(HelpBtn, AboutBtn);
  setTabOrder(AboutBtn, AgainBtn);
  setTabOrder(AgainBtn, EntriesEdit);

  connectButton(FileBtn, &TMainForm::FileBtnClick);
  connectButton(SearchBtn, &TMainForm::SearchBtnClick);
  connectButton(AgainBtn, &TMainForm::AgainBtnClick);
  connectButton(LoadBtn, &TMainForm::LoadBtnClick);
  connectButton(WriteBtn, &TMainForm::WriteBtnClick);
  connectButton(HelpBtn, &TMainForm::HelpBtnClick);
  connectButton(AboutBtn, &TMainForm::AboutBtnClick);

  FormCreate();
}

void TMainForm::connectButton(QPushButton* btn, void (TMainForm::*handler)()) {
  connect(btn, &QPushButton::clicked, this, [this, handler] {
    try {
      (this->*handler)();
    } catch (const std::exception& e) {
      prompts_.errorReport(e.what());
    }
  });
}

void TMainForm::FormCreate() {
  for (int c = 0; c < kGridColumns; ++c) DataGrid->setColumnWidth(c, c < 5 ? 64 : 50);
}

void TMainForm::FileBtnClick() {
  OpenDialog1.filter = "Programs (*.exe)|*.exe|All files (*.*)|*.*";
  if (!prompts_.openDialog(OpenDialog1)) return;
  exePath_ = OpenDialog1.fileName;
  // The label grows with the path, up to the Help button; a longer path loses
  // its middle so that the file's own name stays in view.
  const QString full = fromPath(exePath_);
  const int room = HelpBtn->x() - 8 - FileNameLbl->x();
  FileNameLbl->setText(FileNameLbl->fontMetrics().elidedText(full, Qt::ElideMiddle, room));
  fitLabel(FileNameLbl, 198, room);
  FileNameLbl->setToolTip(full);
}

void TMainForm::SearchBtnClick() {
  if (!extractor_.search(OpenDialog1.fileName, typed(SearchBox->currentText()))) return;
  AddressEdit->setText(QString::fromStdString(addressText(extractor_.address())));
  EntriesEdit->setText(QString::number(extractor_.entryCount()));
  proposedSaveName_ = extractor_.saveName();
  SaveLbl->setText(QString::fromStdString(extractor_.saveName()));
  fitLabel(SaveLbl, 116, 360 - SaveLbl->x());
  reportNotFound();
}

void TMainForm::reportNotFound() {
  // The fields show where the scan ended, as they always have; the box says
  // that this is no table, so a Load of it is not taken for one.
  if (!extractor_.found()) prompts_.message("Pattern not found", "Search");
}

void TMainForm::AgainBtnClick() {
  const auto address =
      extractor_.searchAgain(OpenDialog1.fileName, typed(SearchBox->currentText()), typed(AddressEdit->text()));
  if (!address) return;
  AddressEdit->setText(QString::fromStdString(addressText(*address)));
  reportNotFound();
}

void TMainForm::LoadBtnClick() {
  if (extractor_.load(exePath_, typed(AddressEdit->text()), typed(EntriesEdit->text())))
    gridModel_->refresh();
}

void TMainForm::WriteBtnClick() {
  // What a Load after a failed Search holds is no image list.
  if (extractor_.searchFailed()) {
    prompts_.message("Pattern not found: nothing written.", "Write");
    return;
  }
  SaveDialog1.defaultExt = "csv";
  SaveDialog1.filter = "Comma separated (*.csv)|csv|text (*.txt)|txt| All(*.*)|*.*";
  // The name the last Search set, not the one chosen at the last Write.
  SaveDialog1.fileName = proposedSaveName_;
  if (!prompts_.saveDialog(SaveDialog1)) return;
  // A file that cannot be written leaves Write without a word, as the
  // program's other file commands; an existing file stays as it was.
  if (writeIconList(SaveDialog1.fileName, extractor_.edition(), extractor_.table(), typed(EntriesEdit->text())))
    SaveDialog1.initialDir = common::directoryOf(SaveDialog1.fileName);
}

void TMainForm::HelpBtnClick() { prompts_.message(kHelpText, "How to use Orvik"); }

void TMainForm::AboutBtnClick() { prompts_.message(kAboutText, "About Orvik"); }

}  // namespace orvik
