// Any bytes as a sectioned game file: decoding never writes outside the
// image, and what decoded writes back and decodes to the same sections.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gamefiles/section_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tarnel::GameModel model;
  static tarnel::GameModel again;
  if (tarnel::readSectionStream(std::span(data, size), model) != tarnel::ReadStatus::Ok) return 0;
  const auto file = tarnel::writeSectionStream(model, tarnel::kMagicVn3);
  tarnel::readSectionStream(file, again);
  // Empty positions drop out on writing, so compare the non-empty sections in order.
  int j = 1;
  for (int k = 1; k <= tarnel::kMaxSections; ++k) {
    if (model.sectionLength[k] <= 0) continue;
    if (again.sectionLength[j] != model.sectionLength[k] || again.sectionId[j] != model.sectionId[k] ||
        !std::equal(model.image.begin() + model.sectionOffset[k],
                    model.image.begin() + model.sectionOffset[k] + model.sectionLength[k],
                    again.image.begin() + again.sectionOffset[j]))
      std::abort();
    ++j;
  }
  return 0;
}
