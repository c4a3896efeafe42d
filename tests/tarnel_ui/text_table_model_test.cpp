// The grid's Qt model over the core text table, and the texts and filters the
// Qt dialogs are given.
#include <gtest/gtest.h>

#include "mainwindow/qt_prompts.h"
#include "ui/qt_text_table.h"
#include "model/session.h"

namespace tarnel {
namespace {

TEST(TextTableModel, HeadingRowIsTheHeaderAndCellsConvertAtTheEdge) {
  TextTable table(3, 3, 32);
  table.setCell(0, 0, "Side");
  table.setCell(1, 0, " Unit");
  table.setCell(2, 1, "Kl\xE9" "ber");  // Windows-1252 bytes in the table
  TextTableModel model(table);
  EXPECT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), " Unit");
  EXPECT_FALSE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
  EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), QString::fromUtf8("Kl\u00e9ber"));
  EXPECT_TRUE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable);

  ASSERT_TRUE(model.setData(model.index(1, 1), QString::fromUtf8("\u00c5s \u20ac"), Qt::EditRole));
  EXPECT_EQ(table.cell(1, 2), "\xC5s \x80");
  EXPECT_FALSE(model.setData(model.index(1, 1), QStringLiteral("x"), Qt::DisplayRole));
}

TEST(TextTableModel, FollowsTheTableAndLetsGoOfIt) {
  TextTable table(2, 5, 32);
  int changedRow = -1, headers = 0, resets = 0;
  {
    TextTableModel model(table);
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& at) { changedRow = at.row(); });
    QObject::connect(&model, &QAbstractItemModel::headerDataChanged, [&] { ++headers; });
    QObject::connect(&model, &TextTableModel::gridReset, [&] { ++resets; });
    table.setCell(1, 3, "7");
    EXPECT_EQ(changedRow, 2);
    table.setCell(0, 0, "Side");
    EXPECT_EQ(headers, 1);
    table.beginUpdate();
    table.setRowCount(801);
    for (int r = 1; r <= 800; ++r) table.setCell(0, r, "0");
    table.endUpdate();
    EXPECT_EQ(resets, 1);  // one notice for a whole fill
    EXPECT_EQ(model.rowCount(), 800);
  }
  table.setCell(1, 1, "after");  // the model is gone; nothing may call it
  EXPECT_EQ(table.cell(1, 1), "after");
}

TEST(TextTableView, TakesTheTablesColumnWidths) {
  UnitGridTable table;
  table.setColWidth(GridColumn::kName, 130);
  TextTableModel model(table);
  TextTableView view;
  view.setGridModel(&model);
  EXPECT_EQ(view.columnWidth(indexOf(GridColumn::kSide)), 32);
  EXPECT_EQ(view.columnWidth(indexOf(GridColumn::kName)), 130);
  table.setColWidth(GridColumn::kLeader, 90);
  EXPECT_EQ(view.columnWidth(indexOf(GridColumn::kLeader)), 90);
}

TEST(QtPrompts, FiltersBecomeTheDialogsNameFilters) {
  EXPECT_EQ(common::QtPrompts::nameFilters("Scenarios (*.dat)|*.dat|All files (*.*)| *.*"),
            (QStringList{"Scenarios (*.dat)", "All files (*)"}));
  EXPECT_EQ(common::QtPrompts::nameFilters("Text|*.txt;*.qnd"), (QStringList{"Text (*.txt *.qnd)"}));
  EXPECT_EQ(common::QtPrompts::nameFilters("*.dat|*.dat"), (QStringList{"*.dat"}));
  EXPECT_EQ(common::QtPrompts::nameFilters(""), (QStringList{"All files (*)"}));
  EXPECT_EQ(common::QtPrompts::nameFilters("Odd|"), (QStringList{"Odd (*)"}));
  // "||" between pairs is an empty entry.
  EXPECT_EQ(common::QtPrompts::nameFilters("CSV files (*.csv)|*.csv||All Files *.*|*.*"),
            (QStringList{"CSV files (*.csv)", "All Files *.* (*)"}));
  EXPECT_EQ(common::QtPrompts::nameFilters("Text/Quendor (*.txt,*.qnd)| *.txt;*.qnd||All Files *.*|*.*"),
            (QStringList{"Text/Quendor (*.txt *.qnd)", "All Files *.* (*)"}));
}

TEST(QtPrompts, TextsShowAsUtf8OrAsGameBytes) {
  EXPECT_EQ(uiText("Edit(VN3): /tmp/sc\xC3\xA9n.dat"), QString::fromUtf8("Edit(VN3): /tmp/sc\u00e9n.dat"));
  // A typed cell's Windows-1252 byte in a conversion message.
  EXPECT_EQ(uiText("'4\xE9' is not a valid integer value"), QString::fromUtf8("'4\u00e9' is not a valid integer value"));
  EXPECT_EQ(pathFromUi(pathToUi("/tmp/a b/\xC3\xA9.dat")), "/tmp/a b/\xC3\xA9.dat");
}

}  // namespace
}  // namespace tarnel
