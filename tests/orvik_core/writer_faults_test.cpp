// Orvik's writers under a read-only directory, a full disk, a directory in
// the way and a symbolic link (see support/writer_faults.h).
#include "icon_list.h"
#include "orvik_test_files.h"
#include "support/test_dir.h"
#include "support/writer_faults.h"

namespace {

using writer_faults::Fault;
using writer_faults::Writer;

const std::vector<Writer> kWriters = {
    // Write: the window shows nothing when the file cannot be written.
    {"Write", "not written",
     [](const std::string&, const std::string& target) {
       orvik::EntryTable table{};
       table[1] = {1203, -1};
       return orvik::writeIconList(target, "VN2", table, "500") ? std::string() : std::string("not written");
     }},
    {"CliWrite", "exit 1: orvik-cli: cannot write '{target}'\n",
     [](const std::string& inputs, const std::string& target) {
       const std::string shown = writer_faults::runProgram(
           {std::string(TEST_BINARY_DIR) + "/tools/orvik-cli", "write", inputs + "/game.exe", "D400D700DA00DD", target});
       return shown == "exit 0: " ? std::string() : shown;
     }},
};

class OrvikWriters : public ::testing::TestWithParam<std::tuple<Writer, Fault>> {};

TEST_P(OrvikWriters, KeepTheExistingFileUnderAFault) {
  tarnel::testing::TestDir dir("orvik_faults");
  const auto inputs = dir.path() / "inputs";
  std::filesystem::create_directories(inputs);
  std::ofstream(inputs / "game.exe", std::ios::binary) << orvik_test::exeWith(100000, 70000);
  const auto& [writer, fault] = GetParam();
  writer_faults::checkWriterUnderFault(writer, fault, dir.path() / "run", inputs.string());
}

INSTANTIATE_TEST_SUITE_P(Faults, OrvikWriters,
                         ::testing::Combine(::testing::ValuesIn(kWriters), ::testing::ValuesIn(writer_faults::kFaults)),
                         writer_faults::CaseName());

}  // namespace
