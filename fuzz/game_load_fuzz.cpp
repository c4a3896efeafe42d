// Any bytes through the load commands of the three generations, the grid
// fill, the MOB reading and a save: no crash, no write outside a table.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "mainwindow/session.h"
#include "model/file_io.h"

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
  tarnel::writeFileSafely(prompts.path, std::span(data, size));
  // The first byte picks the generation, so one corpus covers all three.
  const int kind = size > 0 ? data[0] % 3 : 0;
  try {
    if (kind == 0) {
      session.loadV10();
      session.saveV10();
    } else if (kind == 1) {
      session.loadV11();
      session.saveV11();
    } else {
      session.loadVn3();
      session.saveVn3();
    }
  } catch (const std::exception&) {
  }
  ::unlink(prompts.path.c_str());
  ::unlink((prompts.path + ".out").c_str());
  return 0;
}
