// --help and --version of both command-line companions.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "mainwindow/about.h"
#include "support/cli_run.h"
#include "support/test_dir.h"

namespace {

using tarnel::testing::CliResult;

CliResult run(const std::string& program, const std::string& args, const std::filesystem::path& dir) {
  return tarnel::testing::runCli(program, args, dir);
}

TEST(CliUsage, HelpPrintsUsageOnStdoutVersionPrintsTheVersion) {
  tarnel::testing::TestDir tmp{"cli_usage"};
  struct Case {
    const char* program;
    const char* version;
  };
  for (const Case c : {Case{"tarnel-cli", tarnel::kVersionText}, Case{"orvik-cli", "0.10"}}) {
    for (const char* flag : {"--help", "-h"}) {
      const CliResult help = run(c.program, flag, tmp.path());
      EXPECT_EQ(help.status, 0) << c.program << ' ' << flag;
      EXPECT_EQ(help.out.rfind(std::string("usage: ") + c.program + " ", 0), 0u) << help.out;
      EXPECT_EQ(help.err, "");
    }
    const CliResult version = run(c.program, "--version", tmp.path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string(c.program) + " " + c.version + "\n");

    // Without arguments the usage goes to stderr and the exit status says so.
    const CliResult bare = run(c.program, "", tmp.path());
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err.rfind(std::string("usage: ") + c.program + " ", 0), 0u) << bare.err;
  }
}

}  // namespace
