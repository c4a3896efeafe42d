// Any bytes as a sectioned game file through the codec alone: the decoder
// never writes outside the image, decodes the same whether the bytes come
// whole or in pieces, and what it decoded writes back and decodes again to
// the same image and directory. Any bytes also pack and unpack to themselves.
#include <algorithm>
#include <cstring>

#include "gamefiles/game_decoders.h"
#include "gamefiles/section_stream.h"
#include "support/tarnel_fuzz.h"

namespace {

// Hands out the input in pieces whose sizes the input's own bytes choose.
class Pieces : public common::ByteSource {
 public:
  explicit Pieces(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t read(std::uint8_t* out, std::size_t n) override {
    const std::size_t want = at_ < bytes_.size() ? 1 + bytes_[at_] % 160 : 1;
    const std::size_t take = std::min({n, want, bytes_.size() - at_});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), take, out);
    at_ += take;
    return take;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

bool sameDecoding(const tarnel::GameModel& a, const tarnel::GameModel& b) {
  return a.image() == b.image() && a.sectionOffset == b.sectionOffset && a.sectionLength == b.sectionLength &&
         a.sectionId == b.sectionId && a.negativeLength == b.negativeLength;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tarnel::GameModel model;
  static tarnel::GameModel pieces;
  static tarnel::GameModel again;
  static tarnel::GameModel small;
  const std::span input(data, size);

  // Packetisation of the raw bytes.
  std::vector<std::uint8_t> packed(tarnel::packedBound(size));
  const std::size_t packedSize = tarnel::packSection(input, packed.data());
  FUZZ_CHECK(packedSize <= packed.size());
  std::vector<std::uint8_t> unpacked(size + 128);
  FUZZ_CHECK(tarnel::unpackSection(std::span(packed.data(), packedSize), unpacked.data(), unpacked.size()) == size);
  FUZZ_CHECK(std::equal(input.begin(), input.end(), unpacked.begin()));

  // The decoder keeps the identifiers of positions it does not reach; every
  // decoding here starts from the same ones.
  for (tarnel::GameModel* m : {&model, &pieces, &again, &small}) m->sectionId.fill(0);
  const tarnel::ReadStatus status = tarnel::readSectionStream(input, model);
  fuzz::checkDirectory(model, true);
  Pieces source(input);
  FUZZ_CHECK(tarnel::readSectionStream(source, pieces, 256) == status);
  FUZZ_CHECK(sameDecoding(model, pieces));

  // An image of a few kilobytes runs full where the full one did not: the
  // decoder stops exactly there, with the directory and the bytes it had.
  small.adoptImage(std::vector<std::uint8_t>(tarnel::kHeaderSize + size / 2));  // exactly that, for ASan
  const tarnel::ReadStatus smallStatus = tarnel::readSectionStream(input, small);
  FUZZ_CHECK(small.image().size() == tarnel::kHeaderSize + size / 2);
  FUZZ_CHECK(std::equal(small.image().begin(), small.image().end(), model.image().begin()));
  bool fits = true;
  for (int j = 1; j < tarnel::kDirectorySize; ++j) {
    const bool same = small.sectionOffset[j] == model.sectionOffset[j] && small.sectionId[j] == model.sectionId[j] &&
                      small.sectionLength[j] == model.sectionLength[j];
    if (fits && std::int64_t{model.sectionOffset[j]} + model.sectionLength[j] > std::int64_t(small.image().size())) {
      fits = false;  // the position where the small image ran full
      FUZZ_CHECK(small.sectionOffset[j] == model.sectionOffset[j] && small.sectionLength[j] == 0);
    } else {
      FUZZ_CHECK(fits ? same : small.sectionOffset[j] == 0 && small.sectionLength[j] == 0);
    }
  }
  FUZZ_CHECK(smallStatus == (fits && status == tarnel::ReadStatus::Ok ? tarnel::ReadStatus::Ok
                                                                      : tarnel::ReadStatus::TooMuchData));

  // Where the decoded sections end the image is zero.
  std::int64_t end = 0;
  for (int j = 0; j < tarnel::kDirectorySize; ++j)
    end = std::max<std::int64_t>(end, std::int64_t{model.sectionOffset[j]} + model.sectionLength[j]);
  static const std::vector<std::uint8_t> zeros(tarnel::kImageSize, 0);
  const auto tail = static_cast<std::size_t>(tarnel::kImageSize - end);
  if (status == tarnel::ReadStatus::Ok)
    FUZZ_CHECK(std::memcmp(model.image().data() + end, zeros.data(), tail) == 0);
  else {
    // The part of the section that ran out of room is not part of the
    // directory, so it is not written back either.
    std::vector<std::uint8_t> image = model.image();
    std::fill(image.begin() + end, image.end(), std::uint8_t{0});
    model.adoptImage(std::move(image));
  }

  const auto file = tarnel::writeSectionStream(model, tarnel::kMagicVn3);
  FUZZ_CHECK(tarnel::readSectionStream(file, again) == tarnel::ReadStatus::Ok);
  fuzz::checkDirectory(again, true);
  FUZZ_CHECK(tarnel::hasMagic(std::span(again.image().data(), 20), tarnel::kMagicVn3));
  FUZZ_CHECK(fuzz::sameSections(model, again));
  FUZZ_CHECK(tarnel::writeSectionStream(again, tarnel::kMagicVn3) == file);
  return 0;
}
