#include "sidefiles/mob_files.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "model/session.h"

namespace tarnel {

using common::directoryOf;
using common::readFileBytes;

std::string mobFileName(const std::string& mobDir, bool vn3, int mobNumber) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d", mobNumber);
  return mobDir + (vn3 ? "KOB" : "MOB") + number;
}

namespace {

std::string withSeparator(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

void readMobFiles(Session& session) {
  GameModel& m = session.model;
  MobTables& t = session.mob;
  // The layout says which game the image holds even when a load that ran out
  // of room marked the file as not loaded.
  const bool vn3 = m.layout == &kVn3Layout;
  // A side's file missing from the MOB directory is taken from beside the
  // game, where the game keeps its own (and the samples keep theirs).
  const std::string gameDir = m.currentPath.empty() ? std::string() : withSeparator(directoryOf(m.currentPath));
  for (std::size_t s = 0; s < 2; ++s) {
    const std::string name = mobFileName(m.mobDir, vn3, m.sideMob[s]);
    auto bytes = readFileBytes(name, kMenOffset + kWeaponNames);
    if (!bytes && !gameDir.empty() && gameDir != withSeparator(m.mobDir))
      bytes = readFileBytes(mobFileName(gameDir, vn3, m.sideMob[s]), kMenOffset + kWeaponNames);
    if (!bytes) {
      t.available[s] = false;
      session.prompts.message("Could not open " + name + ". Weapons names not available", "Warning",
                              MessageIcon::Warning);
      continue;
    }
    t.available[s] = true;
    auto at = [&](std::size_t offset) -> char {
      return offset < bytes->size() ? static_cast<char>((*bytes)[offset]) : '\0';
    };
    for (std::size_t w = 0; w < kWeaponNames; ++w) {
      for (std::size_t k = 0; k < kWeaponNameBytes; ++k) t.names[s][w][k] = at(w * kWeaponNameBytes + k);
      t.names[s][w][kWeaponNameBytes] = '\0';
    }
    for (std::size_t u = 1; u < kWeaponNames; ++u)
      t.men[s][u] = static_cast<std::uint8_t>(at(kMenOffset + u));
  }
}

namespace {

bool isMobFileName(const std::string& name) {
  if (name.size() < 5 || (name.compare(0, 3, "MOB") != 0 && name.compare(0, 3, "KOB") != 0)) return false;
  for (std::size_t k = 3; k < name.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(name[k]))) return false;
  return true;
}

}  // namespace

bool locateMobFiles(Session& session) {
  FileDialogState& d = session.OpenDialog1;
  d.title = "Open Any MOB File";
  d.initialDir = session.model.mobDir;
  if (!session.prompts.openDialog(d)) return false;
  session.model.mobDir = withSeparator(directoryOf(d.fileName));
  return true;
}

bool holdsMobFiles(const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (fs::directory_iterator it(common::pathFromUtf8(dir.empty() ? "." : dir), ec), end; !ec && it != end; it.increment(ec)) {
    if (isMobFileName(it->path().filename().string()) && it->is_regular_file(ec)) return true;
  }
  return false;
}

void startMobDir(Session& session, const std::string& remembered) {
  std::error_code ec;
  if (holdsMobFiles(session.model.mobDir) || remembered.empty() ||
      !std::filesystem::is_directory(common::pathFromUtf8(remembered), ec))
    return;
  session.model.mobDir = withSeparator(remembered);
}

}  // namespace tarnel
