// The open and save dialogs of both programs never read a listed file: a
// file whose read blocks (/proc/kmsg, a named pipe) would otherwise freeze the
// program for good. The test records every open() of the process and fails
// when one names a file of the listed folder.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <atomic>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/ui/qt_prompts.h"
#include "support/test_dir.h"

namespace {
std::atomic<int> probeOpens{0};

void record(const char* path) {
  if (path && std::strstr(path, "probe_content")) ++probeOpens;
}

template <typename Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}
}  // namespace

// Every open of the process passes here first.
extern "C" int open(const char* path, int flags, ...) {
  record(path);
  va_list ap;
  va_start(ap, flags);
  const auto mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(const char*, int, ...)>("open");
  return real(path, flags, mode);
}
extern "C" int open64(const char* path, int flags, ...) {
  record(path);
  va_list ap;
  va_start(ap, flags);
  const auto mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(const char*, int, ...)>("open64");
  return real(path, flags, mode);
}
extern "C" int openat(int dirfd, const char* path, int flags, ...) {
  record(path);
  va_list ap;
  va_start(ap, flags);
  const auto mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(int, const char*, int, ...)>("openat");
  return real(dirfd, path, flags, mode);
}
extern "C" int openat64(int dirfd, const char* path, int flags, ...) {
  record(path);
  va_list ap;
  va_start(ap, flags);
  const auto mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(int, const char*, int, ...)>("openat64");
  return real(dirfd, path, flags, mode);
}

namespace {

TEST(FileDialog, ListsAndCompletesWithoutReadingAnyListedFile) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "common_ui_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  tarnel::testing::TestDir dir("dialog_reads");
  const std::string folder = dir.path().string();
  // Names with no known extension: only the content could tell their type.
  std::ofstream(dir.path() / "probe_content_a") << "#!/bin/sh\n";
  std::ofstream(dir.path() / "probe_content_b.xyz") << "%PDF-1.4\n";
  ASSERT_EQ(::mkfifo((dir.path() / "probe_content_pipe").c_str(), 0600), 0);

  // A blocked read never returns; the alarm then ends the run as a failure.
  ::alarm(30);
  for (bool save : {false, true}) {
    common::QtPrompts prompts;
    common::FileDialogState state;
    state.title = "Open";
    state.filter = "All files (*.*)|*.*";
    state.initialDir = folder;
    const auto fd = prompts.makeDialog(state, save);
    fd->show();
    // Typing a path, as a user would type /proc/kmsg.
    auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromStdString(folder + "/probe_content_a"));
    auto* model = fd->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      const QModelIndex root = model->index(QString::fromStdString(folder));
      for (int r = 0; r < model->rowCount(root); ++r)
        for (int c = 0; c < model->columnCount(root); ++c) {
          model->data(model->index(r, c, root), Qt::DecorationRole);
          model->data(model->index(r, c, root), Qt::DisplayRole);
        }
      fd->grab();
    }
    EXPECT_GE(model->rowCount(model->index(QString::fromStdString(folder))), 2);
    fd->close();
  }
  ::alarm(0);
  EXPECT_EQ(probeOpens.load(), 0) << "a dialog opened a listed file";
}

}  // namespace
