// Command-line companion of Tarnel: the same load, save and dump commands as
// the menu, for batch work and scripting.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/text1252.h"
#include "editors/battle_summary.h"
#include "gamefiles/dump_files.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_encoders.h"
#include "gamefiles/game_json.h"
#include "mainwindow/about.h"
#include "mainwindow/main_commands.h"
#include "sidefiles/csv_units.h"
#include "model/session.h"

namespace {

using common::cp1252ToUtf8;
using common::utf8ToCp1252;

using namespace tarnel;
using common::directoryOf;
using common::readFileBytes;
using common::writeFileSafely;

// Answers every dialog with the paths given on the command line and reports
// messages on stderr; a message of one of the failure titles fails the run.
class CliPrompts : public Prompts {
 public:
  std::string input;
  std::string output;
  bool failed = false;
  // Only commands that use the MOB files' names and men speak of missing ones.
  bool mobWarnings = false;

  void message(const std::string& text, const std::string& title, MessageIcon) override {
    if (!mobWarnings && title == "Warning" && text.ends_with("Weapons names not available")) return;
    const bool failure = title == "Error" || title == "Fatal Error" || title == "Security Violation" ||
                         title == "Aborting Save";
    failed = failed || failure;
    std::cerr << (failure ? "" : title + ": ") << text << '\n';
  }
  void errorReport(const std::string& text) override {
    failed = true;
    std::cerr << text << '\n';
  }
  bool openDialog(FileDialogState& d) override {
    d.fileName = input;
    return true;
  }
  bool saveDialog(FileDialogState& d) override {
    d.fileName = output;
    return !output.empty();
  }
  bool chooseGameFile(GameFileChoice& c) override {
    c.fileName = input;
    return true;
  }
};

int usage(std::ostream& out = std::cerr, int status = 2) {
  out << "usage: tarnel-cli info FILE                generation, sections, units, side names\n"
         "       tarnel-cli resave FILE OUT          load and save in the same generation\n"
         "       tarnel-cli dump FILE OUT            all decoded sections back to back\n"
         "       tarnel-cli stats FILE OUT           the section statistics text\n"
         "       tarnel-cli summary FILE SIDE        the battle summary of side 0 or 1\n"
         "       tarnel-cli csv-export FILE OUT      the units as a CSV unit file\n"
         "       tarnel-cli csv-paste FILE CSV OUT   CSV pasted into the game, saved as OUT\n"
         "       tarnel-cli export FILE OUT.json     the game's named fields as a JSON document\n"
         "       tarnel-cli import FILE JSON OUT     the fields JSON holds applied to the game, saved as OUT\n"
         "       tarnel-cli diff A B                 what differs between two games (exit 0 equal, 1 differ)\n"
         "       tarnel-cli --help | --version\n"
         "FILE is a game file of any of the three generations.\n";
  return status;
}

int fail(const std::string& text) {
  std::cerr << text << '\n';
  return 1;
}

// The generation of a game file, or None after its message on stderr.
GameFileKind kindOrMessage(const std::string& path) {
  const GameFileKind kind = gameFileKindOf(path);
  if (kind == GameFileKind::None)
    std::cerr << (common::regularFileSize(path) ? "This isn't a VN2 scenario file" : "Couldn't open save file") << '\n';
  return kind;
}

// A game file decoded without prompts, its messages on stderr as the
// commands' own: false when it cannot be used.
bool readGame(const std::string& path, DecodedGame& game) {
  const GameFileKind kind = kindOrMessage(path);
  if (kind == GameFileKind::None) return false;
  readGameFile(path, kind, game);
  if (!game.ok()) {
    std::cerr << loadErrorMessage(game.error, kind).text << '\n';
    return false;
  }
  if (game.tooMuchData) {
    std::cerr << "Too much data" << '\n';
    return false;
  }
  const std::string cut = cutShortWarning(game);
  if (!cut.empty()) std::cerr << "Warning: " << cut << '\n';
  return true;
}

// export, import and diff: named fields, no session.
int namedFieldCommand(const std::string& command, int argc, const std::vector<std::string>& argv) {
  if (command == "diff") {
    if (argc != 4) return usage();
    DecodedGame a;
    DecodedGame b;
    if (!readGame(argv[2], a) || !readGame(argv[3], b)) return 2;
    const auto lines = diffGames(a.model, b.model);
    for (const GameDifference& d : lines) std::cout << d.text << '\n';
    return lines.empty() ? 0 : 1;
  }
  if (command == "export" ? argc != 4 : argc != 5) return usage();
  DecodedGame game;
  if (!readGame(argv[2], game)) return 1;
  GameModel& m = game.model;
  if (command == "export") return writeFileSafely(argv[3], exportGameJson(m)) ? 0 : fail("Could not open output file");

  // The document applied, then the game saved in its generation as resave
  // does; a refused document writes nothing.
  constexpr std::uint64_t kMaxJson = 256u << 20;
  const auto json = readFileBytes(argv[3], kMaxJson + 1);
  if (!json) return fail(std::string("Could not open ") + argv[3]);
  if (json->size() > kMaxJson) return fail(std::string(argv[3]) + " is larger than 256 MiB");
  const std::string name = common::utf8FromPath(common::pathFromUtf8(argv[3]).filename());
  const ImportOutcome outcome =
      importGameJson(m, std::string_view(reinterpret_cast<const char*>(json->data()), json->size()), name);
  if (!outcome.ok()) return fail(outcome.error);
  // Another game's export is applied all the same, as csv-paste does.
  if (!outcome.otherGame.empty()) std::cerr << "Warning: " << outcome.otherGame << '\n';
  return writeGameFile(argv[4], m, m.loaded) ? 0 : fail("Could not open New save file!");
}

}  // namespace

int main(int argc0, char** argv0) {
  // The arguments in UTF-8, as the file helpers take paths on every system.
  const std::vector<std::string> argv = common::programArguments(argc0, argv0);
  const int argc = static_cast<int>(argv.size());
  common::binaryStandardStreams();
  if (argc == 2 && (argv[1] == "--help" || argv[1] == "-h")) return usage(std::cout, 0);
  if (argc == 2 && argv[1] == "--version") {
    std::cout << "tarnel-cli " << kVersionText << '\n';
    return 0;
  }
  if (argc < 3) return usage();
  const std::string command = argv[1];
  if (command == "export" || command == "import" || command == "diff") {
    try {
      return namedFieldCommand(command, argc, argv);
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return command == "diff" ? 2 : 1;
    }
  }
  const std::string file = argv[2];
  const bool paste = command == "csv-paste";
  const bool needsThird = command == "resave" || command == "dump" || command == "stats" || command == "summary" ||
                          command == "csv-export";
  if (command != "info" && !needsThird && !paste) return usage();
  if (paste ? argc != 5 : (needsThird != (argc == 4) || argc > 4)) return usage();

  const std::string sideArg = argc == 4 ? argv[3] : "";
  // A side other than 0 or 1: the usage, and failure as for a file that fails.
  if (command == "summary" && sideArg != "0" && sideArg != "1") return usage(std::cerr, 1);

  CliPrompts prompts;
  prompts.input = file;
  prompts.mobWarnings = command == "summary";
  Session session(prompts);
  session.setProgramDir(directoryOf(file));

  const GameFileKind kind = kindOrMessage(file);
  if (kind == GameFileKind::None) return 1;

  try {
    loadGame(session, kind);
    if (prompts.failed || session.model.loaded != kind) return 1;

    const GameModel& m = session.model;
    if (command == "info") {
      std::cout << "generation: " << generationName(kind) << '\n'
                << "sections: " << (kind == GameFileKind::V10 ? 0 : sectionCount(m)) << '\n'
                << "units: " << m.unitCount << '\n'
                << "side0: " << cp1252ToUtf8(m.sideNames[0]) << '\n'
                << "side1: " << cp1252ToUtf8(m.sideNames[1]) << '\n';
      return 0;
    }
    if (command == "summary") {
      // What the battle summary window shows for the side, one text a line,
      // in UTF-8 as info prints the side names.
      const BattleSummary s = summarizeBattle(session, sideArg == "1" ? 1 : 0);
      std::cout << s.turnLine << '\n' << s.dateLine << '\n' << cp1252ToUtf8(s.countryLine) << '\n';
      for (const SummaryRow& row : s.rows)
        std::cout << cp1252ToUtf8(row[0]) << '\t' << row[1] << '\t' << row[2] << '\t' << row[3] << '\t' << row[4]
                  << '\n';
      std::cout << s.menLine << '\n' << s.menKilledLine << '\n' << s.totalUnitsLine << '\n'
                << s.unitsKilledLine << '\n';
      return 0;
    }
    if (paste) {
      // The CSV pasted as the menu command does, then saved as resave does.
      prompts.input = argv[3];
      prompts.output = argv[4];
      pasteCsvUnitFile(session);
      if (prompts.failed) return 1;
      saveGame(session, kind);
      return prompts.failed ? 1 : 0;
    }
    const std::string out = argv[3];
    if (command == "csv-export") {
      prompts.output = out;
      saveCsvUnitFile(session);
      return prompts.failed ? 1 : 0;
    }
    if (command == "resave") {
      prompts.output = out;
      saveGame(session, kind);
      return prompts.failed ? 1 : 0;
    }
    if (kind == GameFileKind::V10)
      return fail("Dump feature only applies to compressed format game files.");
    const bool written = command == "dump" ? writeFileSafely(out, allSectionsBytes(m))
                                           : writeFileSafely(out, statisticsText(m, file));
    return written ? 0 : fail("Could not open output file");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}
