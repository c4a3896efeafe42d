#pragma once

namespace orvik {

// Orvik's version, shown in its window's caption and by orvik-cli --version.
inline constexpr const char* kVersionText = "0.10";

}  // namespace orvik
