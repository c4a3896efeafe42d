// Windows sized and placed for what they show: a message box or dialog as
// wide as its title, a field as wide as its widest text, a window that works
// beside another opening beside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <memory>

#include "common/ui/qt_prompts.h"
#include "common/ui/qt_screen_fit.h"
#include "common/ui/qt_sizes.h"

namespace {

// Where the cursor shows: a painting scrolls the text to keep it in view.
int cursorX(QLineEdit& edit) {
  edit.grab();
  return edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

class WindowSizes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "common_ui_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }
  static QRect area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

 private:
  static inline QApplication* app_ = nullptr;
};

TEST_F(WindowSizes, BoxesAndDialogsAreAsWideAsTheirTitles) {
  for (const QString& title : {QStringLiteral("Information"), QStringLiteral("Warning. Truncating data"),
                              QStringLiteral("Save Version 1.1 Scenario")}) {
    const int needed = common::titleBarWidth(title);
    EXPECT_GT(needed, QFontMetrics(QApplication::font()).horizontalAdvance(title)) << title.toStdString();
    const auto box = common::messageBox(QStringLiteral("OK."), title, common::MessageIcon::Information,
                                        QMessageBox::Ok, nullptr);
    box->show();
    QApplication::processEvents();
    EXPECT_GE(box->width(), needed) << title.toStdString();
    // A long text still widens the box past its title.
    const QString text(120, QLatin1Char('w'));
    const auto wide = common::messageBox(text, title, common::MessageIcon::Information, QMessageBox::Ok, nullptr);
    wide->show();
    QApplication::processEvents();
    EXPECT_GT(wide->width(), QFontMetrics(wide->font()).horizontalAdvance(QString(60, QLatin1Char('w'))));

    common::FileDialogState state;
    state.title = title.toStdString();
    const auto dialog = common::QtPrompts().makeDialog(state, true);
    dialog->resize(100, 100);  // as a window manager might
    common::widenForTitle(*dialog);
    dialog->show();
    QApplication::processEvents();
    EXPECT_GE(dialog->width(), needed) << title.toStdString();
  }
}

TEST_F(WindowSizes, AFieldShowsItsWidestTextWhole) {
  QLineEdit edit;
  for (const QString& widest : {QStringLiteral("-10000"), QStringLiteral("-2147483648")}) {
    edit.setFixedWidth(common::lineEditWidthFor(edit, widest));
    edit.setText(widest);
    edit.show();
    QApplication::processEvents();
    // Nothing scrolled out: the cursor at the end is as far from the cursor
    // at the start as the text is wide.
    edit.setCursorPosition(static_cast<int>(widest.size()));
    const int end = cursorX(edit);
    edit.setCursorPosition(0);
    const int start = cursorX(edit);
    EXPECT_EQ(end - start, edit.fontMetrics().horizontalAdvance(widest)) << widest.toStdString();
    // One character more no longer fits.
    edit.setText(widest + QLatin1Char('0'));
    edit.setCursorPosition(static_cast<int>(widest.size()) + 1);
    const int scrolledEnd = cursorX(edit);
    edit.setCursorPosition(0);
    EXPECT_LT(scrolledEnd - cursorX(edit),
              edit.fontMetrics().horizontalAdvance(widest + QLatin1Char('0')));
  }
}

TEST_F(WindowSizes, AWindowBesideItsOwnerOpensWhereTheAreaHasRoom) {
  const QRect a = area();
  QWidget owner;
  owner.resize(a.width() / 3, a.height() / 2);
  owner.move(a.topLeft());
  owner.show();
  auto* tool = new QWidget(&owner, Qt::Tool);
  tool->resize(a.width() / 4, a.height() / 3);
  common::keepBesideOwner(tool);
  struct Case {
    const char* name;
    QPoint ownerAt;
    bool right;  // of the owner
  };
  const Case cases[] = {
      {"room on the right", a.topLeft() + QPoint(10, 20), true},
      {"room on the left only", QPoint(a.right() + 1 - owner.width(), a.top() + 30), false},
  };
  for (const Case& c : cases) {
    owner.move(c.ownerAt);
    QApplication::processEvents();
    tool->setAttribute(Qt::WA_Moved, false);  // never placed
    tool->show();
    QApplication::processEvents();
    const QRect o = owner.frameGeometry(), t = tool->frameGeometry();
    EXPECT_FALSE(o.intersects(t)) << c.name;
    EXPECT_TRUE(a.contains(t)) << c.name;
    EXPECT_EQ(t.top(), o.top()) << c.name;
    EXPECT_EQ(c.right ? t.left() - 1 : t.right() + 1, c.right ? o.right() : o.left()) << c.name;
    tool->hide();
  }

  // No room on either side: on the side with more of it, inside the area.
  owner.resize(a.width() - tool->width() / 2, owner.height());
  owner.move(a.topLeft());
  QApplication::processEvents();
  tool->setAttribute(Qt::WA_Moved, false);
  tool->show();
  QApplication::processEvents();
  EXPECT_TRUE(a.contains(tool->frameGeometry()));
  EXPECT_EQ(tool->frameGeometry().right(), a.right());
  tool->hide();

  // Or below the part of the owner it must leave in view, where it fits.
  auto* fields = new QWidget(&owner);
  fields->setGeometry(40, 10, owner.width() - 80, 60);
  fields->show();
  auto* chart = new QWidget(&owner, Qt::Tool);
  chart->resize(tool->size());
  common::keepBesideOwner(chart, fields);
  chart->show();
  QApplication::processEvents();
  const QRect kept(fields->mapToGlobal(QPoint(0, 0)), fields->size());
  EXPECT_FALSE(chart->frameGeometry().intersects(kept));
  // Right below it, a title bar's height at most apart.
  EXPECT_LT(chart->frameGeometry().top(), kept.bottom() + 40);
  EXPECT_EQ(chart->frameGeometry().left(), kept.left());
  EXPECT_TRUE(a.contains(chart->frameGeometry()));

  // Once shown, the window stays where it was left.
  tool->hide();
  tool->move(a.topLeft() + QPoint(5, 5));
  tool->show();
  QApplication::processEvents();
  EXPECT_EQ(tool->frameGeometry().topLeft(), a.topLeft() + QPoint(5, 5));
}

}  // namespace
