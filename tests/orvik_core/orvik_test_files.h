#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvik_test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("orvik_" + std::string(info->test_suite_name()) + "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// size filler bytes (0x11, which no pattern here uses) with bytes put at pos.
inline Bytes exeWith(std::size_t size, std::size_t pos, const Bytes& put) {
  Bytes bytes(size, 0x11);
  std::copy(put.begin(), put.end(), bytes.begin() + static_cast<std::ptrdiff_t>(pos));
  return bytes;
}

// The bytes of "D400D700DA00DD (VN1)".
inline const Bytes kVn1Bytes = {0xD4, 0x00, 0xD7, 0x00, 0xDA, 0x00, 0xDD};

}  // namespace orvik_test
