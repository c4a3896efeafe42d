// orvik-cli on the synthetic executable stand-in of the sample generator.
#include <cstdlib>

#include "../../tools/samplegen/exe_sample.cpp"
#include "extractor.h"
#include "icon_list.h"
#include "orvik_test_files.h"

namespace {

TEST(OrvikCli, StandInSearchWriteAndFailures) {
  orvik_test::TempDir dir;
  samplegen::writeExeSample(dir.path.string());
  const std::string exe = "'" + dir.file("varno_stand_in.exe") + "' ";
  orvik::Extractor ex;
  ASSERT_TRUE(ex.search(dir.file("varno_stand_in.exe"), "00000300060009 (VN3)"));
  ASSERT_TRUE(ex.found());
  ASSERT_TRUE(ex.load(dir.file("varno_stand_in.exe"), orvik::addressText(ex.address()), "750"));
  const auto noTurret = std::count_if(ex.table().begin(), ex.table().end(), [](auto e) { return e.turret < 0; });
  EXPECT_TRUE(noTurret > 100 && noTurret < 400) << noTurret;

  const auto cli = std::filesystem::path(TEST_BINARY_DIR) / "tools" / "orvik-cli";
  if (!std::filesystem::exists(cli)) GTEST_SKIP() << "orvik-cli not built";
  const auto run = [&](const std::string& args) {
    const int status = std::system((cli.string() + " " + args + ">" + dir.file("out") + " 2>" + dir.file("err")).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("search " + exe + "'00000300060009 (VN3)'"), 0);
  EXPECT_EQ(dir.read("out"), "address: " + orvik::addressText(ex.address()) + "\nedition: VN3\nentries: 750\n");
  EXPECT_EQ(run("write " + exe + "00000300060009 '" + dir.file("VN3IL.CSV") + "'"), 0);
  EXPECT_EQ(dir.read("VN3IL.CSV"), orvik::iconListText("VN3", ex.table(), 750));

  EXPECT_EQ(run("search '" + dir.file("none.exe") + "' 00"), 1);
  EXPECT_NE(dir.read("err").find("cannot open executable"), std::string::npos);
  EXPECT_EQ(run("write " + exe + "00 '" + dir.file("no/folder/x.csv") + "'"), 1);
  EXPECT_EQ(run("search " + exe), 2);

  // No match: both commands fail and write nothing.
  for (const std::string& args : {"search " + exe + "00000100020003", "write " + exe + "00000100020003 '" + dir.file("zeb.csv") + "'"}) {
    EXPECT_EQ(run(args), 1) << args;
    EXPECT_EQ(dir.read("err"), "orvik-cli: pattern not found\n") << args;
    EXPECT_EQ(dir.read("out"), "") << args;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("zeb.csv")));
}

}  // namespace
