#include "gamefiles/dump_form.h"

#include <QGuiApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QWindow>
#include <QVBoxLayout>

#include "model/undo.h"

namespace tarnel {

TDumpForm::TDumpForm(Session& session, LoadCommand load, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), window_(session), load_(std::move(load)) {
  setObjectName(QStringLiteral("DumpForm"));
  setWindowTitle(QStringLiteral("Dump"));

  DumpLbl = new QLabel(this);
  DumpLbl->setObjectName(QStringLiteral("DumpLbl"));

  DumpGrid = new QTableWidget(0, 3, this);
  DumpGrid->setObjectName(QStringLiteral("DumpGrid"));
  DumpGrid->verticalHeader()->hide();
  DumpGrid->verticalHeader()->setDefaultSectionSize(20);
  DumpGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DumpGrid->horizontalHeader()->setHighlightSections(false);
  DumpGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  DumpGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DumpGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  DumpGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  // The cells are aligned with blanks; a fixed-pitch font keeps them so.
  DumpGrid->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QStringList headings;
  for (const char* h : kDumpHeadings) headings << QString::fromLatin1(h);
  DumpGrid->setHorizontalHeaderLabels(headings);
  DumpGrid->horizontalHeader()->setFont(font());
  int width = 2 * DumpGrid->frameWidth() + 18;  // room for the vertical scroll bar
  for (std::size_t c = 0; c < kDumpColumnWidths.size(); ++c) {
    DumpGrid->horizontalHeader()->resizeSection(static_cast<int>(c), kDumpColumnWidths[c]);
    width += kDumpColumnWidths[c];
  }
  DumpGrid->setFixedWidth(width);

  AllBtn = new QPushButton(QStringLiteral("All"), this);
  AllBtn->setObjectName(QStringLiteral("AllBtn"));
  SectionBtn = new QPushButton(QStringLiteral("Section"), this);
  SectionBtn->setObjectName(QStringLiteral("SectionBtn"));
  StatsBtn = new QPushButton(QStringLiteral("Stats"), this);
  StatsBtn->setObjectName(QStringLiteral("StatsBtn"));
  LoadBtn = new QPushButton(QStringLiteral("Load"), this);
  LoadBtn->setObjectName(QStringLiteral("LoadBtn"));

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {AllBtn, SectionBtn, StatsBtn, LoadBtn}) buttons->addWidget(b);
  buttons->addStretch();
  auto* body = new QHBoxLayout;
  body->addWidget(DumpGrid);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DumpLbl);
  layout->addLayout(body);
  resize(sizeHint().width(), 420);

  connect(DumpGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (row < 0 || col < 0) return;
    bool canSelect = true;
    DumpGridSelectCell(col, row + 1, canSelect);
  });
  connect(AllBtn, &QPushButton::clicked, this, [this] { runHandler(&TDumpForm::AllBtnClick); });
  connect(SectionBtn, &QPushButton::clicked, this, [this] { runHandler(&TDumpForm::SectionBtnClick); });
  connect(StatsBtn, &QPushButton::clicked, this, [this] { runHandler(&TDumpForm::StatsBtnClick); });
  connect(LoadBtn, &QPushButton::clicked, this, [this] { runHandler(&TDumpForm::LoadBtnClick, "Load Dump"); });

  FormCreate();
}

void TDumpForm::runHandler(void (TDumpForm::*handler)(), const char* label) {
  runCommand(session_, label, [this, handler] { (this->*handler)(); });
}

bool TDumpForm::event(QEvent* e) {
  // Coming back from the activation's own message box is no new activation.
  if (activation_.refreshesOn(e)) runHandler(&TDumpForm::FormActivate);
  return QWidget::event(e);
}

void TDumpForm::FormCreate() { window_.formCreate(); }

void TDumpForm::FormActivate() {
  if (window_.formActivate()) fillGrid();
}

void TDumpForm::fillGrid() {
  const GameModel& m = session_.model;
  DumpLbl->setText(QString::fromStdString(sectionCountText(m)));
  const auto& listed = window_.listed();
  const QSignalBlocker blocker(DumpGrid);
  DumpGrid->clearContents();
  DumpGrid->setRowCount(static_cast<int>(listed.size()));
  for (std::size_t r = 0; r < listed.size(); ++r) {
    const auto texts = dumpRowTexts(m, listed[r]);
    for (std::size_t c = 0; c < texts.size(); ++c)
      DumpGrid->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(QString::fromStdString(texts[c])));
  }
  if (window_.selectedRow() > 0)
    DumpGrid->setCurrentCell(window_.selectedRow() - 1, 0);
  else
    DumpGrid->setCurrentCell(-1, -1);
}

void TDumpForm::DumpGridSelectCell(int col, int row, bool& canSelect) { canSelect = window_.selectCell(col, row); }

void TDumpForm::AllBtnClick() { window_.allBtnClick(); }

void TDumpForm::SectionBtnClick() { window_.sectionBtnClick(); }

void TDumpForm::StatsBtnClick() { window_.statsBtnClick(); }

void TDumpForm::LoadBtnClick() { load_(window_); }

}  // namespace tarnel
