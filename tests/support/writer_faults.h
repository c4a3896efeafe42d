// Fault tests of the writers: each writer runs in a child process against a
// target that already holds a file, under one fault, and must show its
// message, leave the existing target byte for byte with its permissions and
// leave no temporary file. A writer is one row of a table; adding a writer to
// the table runs it under every fault.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace writer_faults {

namespace fs = std::filesystem;

enum class Fault {
  None,               // the reference run, for the bytes a write gives
  ReadOnlyDirectory,  // the target's directory cannot be written
  FullDisk,           // a file-size limit of one byte
  DirectoryInTheWay,  // the target is a directory
  SymbolicLink,       // the target is a link to a file elsewhere: a write goes through it
};

inline const std::vector<Fault> kFaults = {Fault::ReadOnlyDirectory, Fault::FullDisk, Fault::DirectoryInTheWay,
                                           Fault::SymbolicLink};

inline std::string faultName(Fault f) {
  switch (f) {
    case Fault::None: return "None";
    case Fault::ReadOnlyDirectory: return "ReadOnlyDirectory";
    case Fault::FullDisk: return "FullDisk";
    case Fault::DirectoryInTheWay: return "DirectoryInTheWay";
    case Fault::SymbolicLink: return "SymbolicLink";
  }
  return "?";
}

// A writer: writes to target, with what it needs made from files in
// `inputs`, and returns what it showed ("title: text" per message, or a
// program's exit status and error output). `failure` is what it shows when
// the file cannot be written, with "{target}" standing for the target.
struct Writer {
  std::string name;
  std::string failure;
  std::function<std::string(const std::string& inputs, const std::string& target)> write;
};

inline void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }

// Gives up the capabilities that let root write where the permissions say
// no, for this process and for every program it starts, so a read-only
// directory stops root as it stops an ordinary user.
inline bool dropOverrideRights() {
  const int rights[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};
  for (int r : rights) ::prctl(PR_CAPBSET_DROP, r, 0, 0, 0);  // fails harmlessly without the right
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (int r : rights) {
    const auto bit = ~(1u << (r % 32));
    data[r / 32].effective &= bit;
    data[r / 32].permitted &= bit;
    data[r / 32].inheritable &= bit;
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

// What is left to read on fd, which is then closed.
inline std::string readToEnd(int fd) {
  std::string text;
  char buffer[65536];
  ssize_t n;
  while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
  if (fd >= 0) ::close(fd);
  return text;
}

// Runs body in a child process with its standard error going to a pipe:
// what it wrote there, and its exit status (-1 when it did not exit).
inline std::pair<std::string, int> inChild(const std::function<void()>& body) {
  int err[2];
  if (::pipe(err) != 0) return {"no pipe", -1};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(err[0]);
    ::dup2(err[1], 2);
    body();
    ::_exit(0);
  }
  ::close(err[1]);
  std::string text = readToEnd(err[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return {text, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// Runs write(target) in a child process under the fault and returns what it
// showed; a child that dies or cannot set up the fault says so instead.
inline std::string runInChild(Fault fault, const Writer& writer, const std::string& inputs,
                              const std::string& target) {
  const auto [shown, status] = inChild([&] {
    bool ready = true;
    if (fault == Fault::ReadOnlyDirectory) ready = dropOverrideRights();
    if (fault == Fault::FullDisk) {
      ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      const rlimit limit{1, 1};
      ready = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    std::string text;
    try {
      text = ready ? writer.write(inputs, target) : "fault not set up";
    } catch (const std::exception& e) {
      text = std::string("exception: ") + e.what();
    }
    if (!text.empty() && ::write(2, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ::_exit(1);
  });
  return status == 0 ? shown : "child died: " + std::to_string(status);
}

// Runs a program with its standard error captured: "exit N: <error output>".
inline std::string runProgram(const std::vector<std::string>& args) {
  const auto [text, status] = inChild([&] {
    ::dup2(::open("/dev/null", O_WRONLY), 1);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  });
  return "exit " + std::to_string(status) + ": " + text;
}

inline std::string readAll(const fs::path& p) { return readToEnd(::open(p.c_str(), O_RDONLY)); }

inline std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

inline fs::perms permsOf(const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; }

// Sets up the fault in a fresh directory `root`, runs the writer and checks
// what it left. `inputs` holds what the writer reads.
inline void checkWriterUnderFault(const Writer& writer, Fault fault, const fs::path& root, const std::string& inputs) {
  const std::string kOld = "the bytes that were there\r\n";
  const auto kMode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  const auto putOld = [&](const fs::path& p) {
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0) << p;
    ASSERT_EQ(::write(fd, kOld.data(), kOld.size()), static_cast<ssize_t>(kOld.size()));
    ::close(fd);
    fs::permissions(p, kMode);
  };

  // What the writer writes where nothing is in its way.
  fs::create_directories(root / "reference");
  const fs::path reference = root / "reference" / "out.dat";
  ASSERT_EQ(runInChild(Fault::None, writer, inputs, reference.string()), "");
  const std::string written = readAll(reference);

  const fs::path dir = root / "scene";
  fs::create_directories(dir);
  fs::path target = dir / "out.dat";
  fs::path file = target;  // where the existing bytes are
  switch (fault) {
    case Fault::DirectoryInTheWay:
      fs::create_directories(target);
      file = target / "kept.dat";
      break;
    case Fault::SymbolicLink:
      fs::create_directories(root / "elsewhere");
      file = root / "elsewhere" / "real.dat";
      fs::create_symlink("../elsewhere/real.dat", target);
      break;
    default: break;
  }
  putOld(file);
  const auto before = namesIn(dir);
  const auto beforeFile = namesIn(file.parent_path());
  if (fault == Fault::ReadOnlyDirectory) fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec |
                                                                  fs::perms::group_read | fs::perms::group_exec |
                                                                  fs::perms::others_read | fs::perms::others_exec);

  const std::string shown = runInChild(fault, writer, inputs, target.string());
  fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);

  if (fault == Fault::SymbolicLink) {
    EXPECT_EQ(shown, "");
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(fs::read_symlink(target), "../elsewhere/real.dat");
    EXPECT_TRUE(readAll(file) == written) << "the link's target lacks the new bytes";
  } else {
    std::string failure = writer.failure;
    if (const auto at = failure.find("{target}"); at != std::string::npos) failure.replace(at, 8, target.string());
    EXPECT_EQ(shown, failure);
    EXPECT_TRUE(readAll(file) == kOld) << "the existing file changed";
  }
  EXPECT_EQ(permsOf(file), kMode);
  // No temporary file stays beside the target or the file it stands for.
  EXPECT_EQ(namesIn(dir), before);
  EXPECT_EQ(namesIn(file.parent_path()), beforeFile);
}

// The test name of a (writer, fault) pair.
struct CaseName {
  template <typename Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return std::get<0>(info.param).name + "_" + faultName(std::get<1>(info.param));
  }
};

}  // namespace writer_faults
