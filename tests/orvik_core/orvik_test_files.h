#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace orvik_test {

using Bytes = std::string;  // raw file bytes

// The bytes of "D400D700DA00DD (VN1)".
inline const Bytes kVn1Bytes("\xD4\x00\xD7\x00\xDA\x00\xDD", 7);

// size filler bytes (0x11, in no pattern here) with put copied to pos.
inline Bytes exeWith(std::size_t size, std::size_t pos, const Bytes& put = kVn1Bytes) {
  return Bytes(size, '\x11').replace(pos, put.size(), put);
}

// A fresh folder per test and process (test runs of other checkouts may run
// at the same time), removed afterwards.
struct TempDir {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("orvik_" + std::to_string(::getpid()) + "_" +
                                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  TempDir() {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string file(const std::string& name) const { return (path / name).string(); }
  std::string write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

}  // namespace orvik_test
