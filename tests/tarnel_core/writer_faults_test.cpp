// Every writer of Tarnel under a read-only directory, a full disk, a
// directory in the way and a symbolic link (see support/writer_faults.h).
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/dump_files.h"
#include "mainwindow/main_commands.h"
#include "model/session.h"
#include "sidefiles/comment_files.h"
#include "sidefiles/csv_units.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "support/writer_faults.h"

namespace {

using tarnel::GameFileKind;
using writer_faults::Fault;
using writer_faults::Writer;

std::string sampleName(GameFileKind kind) {
  return kind == GameFileKind::V10 ? "v10.dat" : kind == GameFileKind::V11 ? "v11.dat" : "vn3.dat";
}

// A command that writes, run after a load of the sample of a generation with
// the save dialog answering `target`.
Writer command(const char* name, const char* failure, GameFileKind kind,
               std::function<void(tarnel::Session&)> run) {
  return {name, failure, [kind, run](const std::string& inputs, const std::string& target) {
            tarnel::testing::ScriptedPrompts prompts;
            tarnel::Session session(prompts);
            session.setProgramDir(inputs);
            prompts.chooserAnswers.push_back(inputs + "/" + sampleName(kind));
            if (!tarnel::loadGame(session, kind)) return std::string("not loaded");
            prompts.messages.clear();
            prompts.saveAnswers.push_back(target);
            run(session);
            std::string shown;
            for (const auto& m : prompts.messages) shown += m.title + ": " + m.text + "\n";
            return shown;
          }};
}

Writer save(const char* name, GameFileKind kind) {
  return command(name, "Aborting Save: Could not open New save file!\n", kind,
                 [kind](tarnel::Session& s) { tarnel::saveGame(s, kind); });
}

// A button of the dump window.
Writer dump(const char* name, void (tarnel::DumpWindow::*button)()) {
  return command(name, "Error: Could not open output file\n", GameFileKind::Vn3, [button](tarnel::Session& s) {
    tarnel::DumpWindow window(s);
    window.formActivate();
    (window.*button)();
  });
}

// A command of tarnel-cli on the VN3 sample.
Writer cli(const char* name, const char* command, const char* failure) {
  return {name, failure, [command](const std::string& inputs, const std::string& target) {
            const std::string shown = writer_faults::runProgram(
                {std::string(TEST_BINARY_DIR) + "/tools/tarnel-cli", command, inputs + "/vn3.dat", target});
            return shown == "exit 0: " ? std::string() : shown;
          }};
}

const std::vector<Writer> kWriters = {
    save("SaveV10", GameFileKind::V10),
    save("SaveV11", GameFileKind::V11),
    save("SaveVn3", GameFileKind::Vn3),
    command("SaveComment", "Error: Could not open new Comment file\n", GameFileKind::Vn3,
            [](tarnel::Session& s) { tarnel::saveCommentFile(s, "A comment\nof two lines"); }),
    command("SaveCsv", "Error: Couldn't open csv file. Aborting.\n", GameFileKind::Vn3, tarnel::saveCsvUnitFile),
    dump("DumpAll", &tarnel::DumpWindow::allBtnClick),
    dump("DumpSection", &tarnel::DumpWindow::sectionBtnClick),
    dump("DumpStats", &tarnel::DumpWindow::statsBtnClick),
    cli("CliResave", "resave", "exit 1: Could not open New save file!\n"),
    cli("CliDump", "dump", "exit 1: Could not open output file\n"),
    cli("CliStats", "stats", "exit 1: Could not open output file\n"),
};

class TarnelWriters : public ::testing::TestWithParam<std::tuple<Writer, Fault>> {};

TEST_P(TarnelWriters, KeepTheExistingFileUnderAFault) {
  tarnel::testing::TestDir dir("tarnel_faults");
  const std::string inputs = (dir.path() / "inputs").string();
  std::filesystem::create_directories(inputs);
  for (GameFileKind kind : {GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3}) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 10;
    ASSERT_TRUE(common::writeFileSafely(inputs + "/" + sampleName(kind), samplegen::makeGameFile(o)));
  }
  for (const char* mob : {"MOB03", "MOB07", "KOB03", "KOB07"})
    ASSERT_TRUE(common::writeFileSafely(inputs + "/" + mob, samplegen::makeMobFile(3)));
  const auto& [writer, fault] = GetParam();
  writer_faults::checkWriterUnderFault(writer, fault, dir.path() / "run", inputs);
}

INSTANTIATE_TEST_SUITE_P(Faults, TarnelWriters,
                         ::testing::Combine(::testing::ValuesIn(kWriters), ::testing::ValuesIn(writer_faults::kFaults)),
                         writer_faults::CaseName());

}  // namespace
