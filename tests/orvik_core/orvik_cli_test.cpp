// orvik-cli on the synthetic executable stand-in of the sample generator.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "../../tools/samplegen/exe_sample.cpp"
#include "extractor.h"
#include "icon_list.h"
#include "orvik_test_files.h"

namespace {

using orvik_test::readText;
using orvik_test::TempDir;

constexpr const char* kVn3Text = "00000300060009 (VN3)";

TEST(ExeStandIn, HoldsAVn3TableInItsTail) {
  TempDir dir;
  samplegen::writeExeSample(dir.file(""));
  const std::string exe = dir.file("varno_stand_in.exe");
  orvik::Extractor ex;
  ASSERT_TRUE(ex.search(exe, kVn3Text));
  EXPECT_TRUE(ex.found());
  EXPECT_EQ(ex.edition(), "VN3");
  EXPECT_EQ(ex.entryCount(), 750);
  EXPECT_GE(ex.address(), static_cast<std::int64_t>(std::filesystem::file_size(exe)) - 40000);
  ASSERT_TRUE(ex.load(exe, orvik::addressText(ex.address()), "750"));
  int noTurret = 0;
  for (const auto& e : ex.table()) {
    EXPECT_GE(e.body, 0);
    EXPECT_LT(e.body, 10000);
    noTurret += e.turret < 0;
  }
  EXPECT_GT(noTurret, 100);
  EXPECT_LT(noTurret, 400);
}

class OrvikCli : public ::testing::Test {
 protected:
  void SetUp() override {
    cli = std::filesystem::path(TEST_BINARY_DIR) / "tools" / "orvik-cli";
    if (!std::filesystem::exists(cli)) GTEST_SKIP() << "orvik-cli not built";
    samplegen::writeExeSample(dir.file(""));
  }
  int run(const std::string& args) {
    const std::string command = cli.string() + " " + args + " >" + dir.file("stdout") + " 2>" + dir.file("stderr");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string exe() const { return "'" + dir.file("varno_stand_in.exe") + "'"; }

  TempDir dir;
  std::filesystem::path cli;
};

TEST_F(OrvikCli, SearchPrintsAddressEditionAndEntries) {
  EXPECT_EQ(run("search " + exe() + " '" + kVn3Text + "'"), 0);
  EXPECT_EQ(readText(dir.file("stdout")), "address: 1A1800\nedition: VN3\nentries: 750\n");
}

TEST_F(OrvikCli, WriteGivesWhatTheWindowWrites) {
  const std::string out = dir.file("VN3IL.CSV");
  EXPECT_EQ(run("write " + exe() + " '" + kVn3Text + "' '" + out + "'"), 0);

  orvik::Extractor ex;
  ASSERT_TRUE(ex.search(dir.file("varno_stand_in.exe"), kVn3Text));
  ASSERT_TRUE(ex.load(dir.file("varno_stand_in.exe"), orvik::addressText(ex.address()), "750"));
  EXPECT_EQ(readText(out), orvik::iconListText("VN3", ex.table(), 750));
}

TEST_F(OrvikCli, FailuresExitWithAReason) {
  EXPECT_EQ(run("search '" + dir.file("none.exe") + "' 00"), 1);
  EXPECT_NE(readText(dir.file("stderr")).find("cannot open executable"), std::string::npos);
  EXPECT_EQ(run("write " + exe() + " 00 '" + dir.file("no/folder/x.csv") + "'"), 1);
  EXPECT_NE(readText(dir.file("stderr")).find("cannot write"), std::string::npos);
  EXPECT_EQ(run("search " + exe()), 2);
}

}  // namespace
