// Any bytes as a MOB file: side 0 reads them, side 1 finds no file. The
// tables get exactly the file's bytes where it has them and zero beyond,
// every name stays zero-terminated, and the missing file is reported.
#include "sidefiles/mob_files.h"
#include "support/tarnel_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  static fuzz::ScratchPrompts prompts;
  static Session session(prompts);
  static const std::string missing = [] {
    fuzz::startSession(session);
    session.model.sideMob = {3, 4};
    return mobFileName(session.model.mobDir, false, 4);
  }();
  prompts.shown.clear();
  session.mob = MobTables{};
  fuzz::putFile(mobFileName(session.model.mobDir, false, 3), std::span(data, size));

  readMobFiles(session);
  const auto fileByte = [&](std::size_t at) { return at < size ? data[at] : std::uint8_t{0}; };
  FUZZ_CHECK(session.mob.available[0] && !session.mob.available[1]);
  for (std::size_t w = 0; w < kWeaponNames; ++w) {
    const auto& name = session.mob.names[0][w];
    for (std::size_t k = 0; k < kWeaponNameBytes; ++k)
      FUZZ_CHECK(static_cast<std::uint8_t>(name[k]) == fileByte(w * kWeaponNameBytes + k));
    FUZZ_CHECK(name[kWeaponNameBytes] == '\0');
    FUZZ_CHECK(session.mob.weaponName(0, static_cast<int>(w)).size() <= kWeaponNameBytes);
  }
  FUZZ_CHECK(session.mob.men[0][0] == 0);
  for (std::size_t t = 1; t < kWeaponNames; ++t) FUZZ_CHECK(session.mob.men[0][t] == fileByte(kMenOffset + t));
  FUZZ_CHECK(session.mob.names[1] == MobTables{}.names[1] && session.mob.men[1] == MobTables{}.men[1]);
  FUZZ_CHECK(prompts.shown ==
             std::vector<std::string>{"Warning: Could not open " + missing + ". Weapons names not available"});
  return 0;
}
