// orvik-cli: Orvik's search and icon list writing from the command line.
//
//   orvik-cli search EXE PATTERN      address, edition and entry count found
//   orvik-cli write EXE PATTERN OUT   search, load the edition's entries, write the icon list
#include <iostream>
#include <string>
#include <vector>

#include "common/file_io.h"

#include "extractor.h"
#include "version.h"
#include "icon_list.h"
#include "image_list.h"

namespace {

int usage(std::ostream& out = std::cerr, int status = 2) {
  out << "usage: orvik-cli search EXE PATTERN\n"
         "       orvik-cli write EXE PATTERN OUT\n"
         "PATTERN: the 7 pattern bytes as 14 upper-case hexadecimal digits, such as\n"
         "00000300060009 (what follows the 14 digits, as in \"00000300060009 (VN3)\", is ignored).\n";
  return status;
}

int fail(const std::string& reason) {
  std::cerr << "orvik-cli: " << reason << '\n';
  return 1;
}

}  // namespace

int main(int argc0, char* argv0[]) {
  // The arguments in UTF-8, as the file helpers take paths on every system.
  const std::vector<std::string> argv = common::programArguments(argc0, argv0);
  const int argc = static_cast<int>(argv.size());
  common::binaryStandardStreams();
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (argc == 2 && (command == "--help" || command == "-h")) return usage(std::cout, 0);
  if (argc == 2 && command == "--version") {
    std::cout << "orvik-cli " << orvik::kVersionText << '\n';
    return 0;
  }
  const bool write = command == "write";
  if (!(command == "search" && argc == 4) && !(write && argc == 5)) return usage();
  const std::string exe = argv[2];
  const std::string pattern = argv[3];

  orvik::Extractor extractor;
  if (!extractor.search(exe, pattern)) return fail("cannot open executable '" + exe + "'");
  const std::string address = orvik::addressText(extractor.address());
  if (!extractor.found()) return fail("pattern not found");

  if (!write) {
    std::cout << "address: " << address << "\nedition: " << extractor.edition()
              << "\nentries: " << extractor.entryCount() << '\n';
    return 0;
  }

  const std::string count = std::to_string(extractor.entryCount());
  if (!extractor.load(exe, address, count)) return fail("cannot open executable '" + exe + "'");
  const std::string out = argv[4];
  if (!orvik::writeIconList(out, extractor.edition(), extractor.table(), count))
    return fail("cannot write '" + out + "'");
  std::cout << "wrote " << extractor.entryCount() << " entries of " << extractor.edition() << " at " << address
            << " to " << out << '\n';
  return 0;
}
