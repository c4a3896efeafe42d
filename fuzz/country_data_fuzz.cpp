// Any bytes as a country data file through "Load Country Data" and the
// country stats window: the table never holds more than its 400 data sets,
// every name stays within its bytes, an invalid file changes nothing, and
// every country of the list and each of its data sets can be chosen and set.
#include "sidefiles/country_data.h"
#include "support/tarnel_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  static fuzz::ScratchPrompts prompts;
  static Session session(prompts);
  static const std::string path = fuzz::scratchFile("country.txt");
  fuzz::putFile(path, std::span(data, size));
  session.countries = CountryTable{};
  prompts.shown.clear();
  prompts.openAnswer = path;

  loadCountryData(session);
  const CountryTable& table = session.countries;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CountryTable again;
  const CountryReadResult r = readCountryData(text, again);
  FUZZ_CHECK(table.count == again.count && table.count == r.loaded);
  FUZZ_CHECK(r.loaded >= 0 && r.loaded <= kCountryEntries && (r.valid || r.loaded == 0));
  FUZZ_CHECK(r.loaded <= r.announced || !r.valid);
  FUZZ_CHECK(prompts.showed("Error") == !r.valid);
  for (int k = 0; k < table.count; ++k) {
    const CountryDataSet& set = table.entries[static_cast<std::size_t>(k)];
    FUZZ_CHECK(set.name.size() <= static_cast<std::size_t>(kCountryNameBytes));
    FUZZ_CHECK(set.description.size() <= kCountryLineLength);
  }

  CountryStats stats(table);
  const auto& countries = stats.show();
  for (std::size_t i = 1; i < countries.size(); ++i) FUZZ_CHECK(countries[i - 1] != countries[i]);
  for (int item = 0; item < static_cast<int>(countries.size()); ++item) {
    const auto& rows = stats.chooseCountry(item);
    FUZZ_CHECK(!rows.empty() && rows.size() <= static_cast<std::size_t>(table.count));
    for (int row = 1; row <= static_cast<int>(rows.size()); ++row) {
      stats.selectCell(1, row);
      CountryStats::RollTexts texts;
      FUZZ_CHECK(stats.set(texts));
    }
  }
  return 0;
}
