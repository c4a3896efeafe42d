// Any bytes as the files of a directory shown in the game-file chooser: the
// first five bytes give the sizes of four game and comment files, the rest is
// a fifth file. A named pipe and a directory with game-file names lie beside
// them. Reading the list never waits and never fails; every item starts with
// its file's name, shows the preview the rules give, and OK on it gives its
// path.
#include "mainwindow/file_chooser.h"
#include "support/tarnel_fuzz.h"

#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  static const std::string dir = [] {
    const std::string d = fuzz::scratchFile("chooser");
    std::filesystem::create_directories(d + "/SCEN09.DAT");
    ::mkfifo((d + "/SAVE08.DAT").c_str(), 0600);
    return d;
  }();
  const char* names[] = {"SCEN01.DAT", "SCEN01.cmt", "save02.dat", "save02.CMT", "Scen03.dat"};
  std::size_t at = std::min<std::size_t>(size, 4);
  for (int f = 0; f < 5; ++f) {
    const std::size_t take = f < 4 && f < static_cast<int>(size) ? std::min<std::size_t>(data[f], size - at) : size - at;
    fuzz::putFile(dir + "/" + names[f], std::span(data + at, take));
    at += take;
  }

  FileChooser chooser(dir);
  chooser.generation = static_cast<GameFileKind>(size % 4);
  chooser.FormActivate();
  chooser.readList();
  const auto& items = chooser.items();
  FUZZ_CHECK(items.size() >= 3 && items.size() <= 5);  // the pipe and the directory may be listed too
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const auto& item = items[static_cast<std::size_t>(i)];
    FUZZ_CHECK(item.text.rfind(item.name, 0) == 0);
    FUZZ_CHECK(item.text.size() <= item.name.size() + 8 + 3 * kCommentPreviewBytes);
    chooser.FileListChange(i);
    FUZZ_CHECK(chooser.OKBtnClick() == (std::filesystem::path(dir) / item.name).string());
  }
  return 0;
}
