// --help and --version of both command-line companions.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "mainwindow/about.h"
#include "support/test_dir.h"

namespace {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

CliResult run(const std::string& program, const std::string& args, const std::filesystem::path& dir) {
  const std::filesystem::path errFile = dir / "stderr.txt";
  const std::string cmd = std::string(TEST_BINARY_DIR) + "/tools/" + program + " " + args + " 2>" + errFile.string();
  CliResult r;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  if (FILE* e = std::fopen(errFile.c_str(), "rb")) {
    while ((n = std::fread(buf, 1, sizeof buf, e)) > 0) r.err.append(buf, n);
    std::fclose(e);
  }
  return r;
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
