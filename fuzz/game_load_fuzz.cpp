// Any bytes through the load commands of the three generations, the grid
// fill, the MOB reading and a save: no crash, no write outside a table.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "model/session.h"
#include "common/file_io.h"
#include "mainwindow/main_commands.h"

namespace {
class QuietPrompts : public tarnel::Prompts {
 public:
  std::string path;
  void message(const std::string&, const std::string&, tarnel::MessageIcon) override {}
  void errorReport(const std::string&) override {}
  bool openDialog(tarnel::FileDialogState&) override { return false; }
  bool saveDialog(tarnel::FileDialogState& d) override {
    d.fileName = path + ".out";
    return true;
  }
  bool chooseGameFile(tarnel::GameFileChoice& c) override {
    c.fileName = path;
    return true;
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QuietPrompts prompts;
  static tarnel::Session session(prompts);
  if (prompts.path.empty()) {
    prompts.path = "/tmp/tarnel_fuzz_" + std::to_string(::getpid()) + ".dat";
    session.setProgramDir("/tmp");
  }
  common::writeFileSafely(prompts.path, std::span(data, size));
  // The first byte picks the generation, so one corpus covers all three.
  const int kind = size > 0 ? data[0] % 3 : 0;
  try {
    if (kind == 0) {
      tarnel::loadGame(session, tarnel::GameFileKind::V10);
      tarnel::saveGame(session, tarnel::GameFileKind::V10);
    } else if (kind == 1) {
      tarnel::loadGame(session, tarnel::GameFileKind::V11);
      tarnel::saveGame(session, tarnel::GameFileKind::V11);
    } else {
      tarnel::loadGame(session, tarnel::GameFileKind::Vn3);
      tarnel::saveGame(session, tarnel::GameFileKind::Vn3);
    }
  } catch (const std::exception&) {
  }
  ::unlink(prompts.path.c_str());
  ::unlink((prompts.path + ".out").c_str());
  return 0;
}
