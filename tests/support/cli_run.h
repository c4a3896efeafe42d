#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tarnel::testing {

// What a command-line companion printed and returned.
struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program of the build's tools folder with the arguments (shell words)
// and collects its standard output and error; stderr passes through a file in
// dir, left there for the test to read.
inline CliResult runCli(const std::string& program, const std::string& args, const std::filesystem::path& dir) {
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

}  // namespace tarnel::testing
