#include "model/side_tables.h"

namespace tarnel {

std::string MobTables::weaponName(int side, int weapon) const {
  if (side < 0 || side > 1 || weapon < 0 || weapon >= kWeaponNames) return {};
  const auto& n = names[static_cast<std::size_t>(side)][static_cast<std::size_t>(weapon)];
  return std::string(n.data());
}

int MobTables::menOf(int side, int unitNumber) const {
  if (side < 0 || side > 1 || unitNumber < 0 || unitNumber >= kWeaponNames) return 0;
  return men[static_cast<std::size_t>(side)][static_cast<std::size_t>(unitNumber)];
}

}  // namespace tarnel
