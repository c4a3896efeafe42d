#include "model/session.h"

#include "model/undo.h"

namespace tarnel {

namespace {
constexpr const char* kHeadings[kGridColumns] = {"Side", " Unit", " Unit Name", " Leaders", "Exp",
                                                 "Mor",  "Ral",   "Inf",        "Art",      "Arm"};
constexpr int kNameColumnWidth = 130;
}  // namespace

Session::Session(Prompts& p) : prompts(p), view(&nullView_) {
  SaveDialog1.overwritePrompt = true;
  grid.setColWidth(GridColumn::kName, kNameColumnWidth);
  grid.setColWidth(GridColumn::kLeader, kNameColumnWidth);
}

void Session::setProgramDir(const std::string& dir) {
  std::string d = dir.empty() ? "." : dir;
  model.programDir = d;
  model.dataDir = d;
  model.mobDir = d.back() == '/' ? d : d + '/';
}

void Session::setModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  view->modifiedChanged();
}

void Session::documentLoaded() {
  setModified(false);
  if (inCommand_) {
    loadedInCommand_ = true;
  } else if (recorder) {
    recorder->clear();
  }
}

void Session::documentSaved() {
  setModified(false);
  if (inCommand_) {
    savedInCommand_ = true;
  } else if (recorder) {
    recorder->markClean();
  }
}

void resetGrid(Session& s) {
  if (!s.model.commandLineLoad) s.view->closeUnitEditor();
  s.model.redrawNeeded = true;
  s.dice.seed(s.clock());
  s.model.sideNames = {};
  s.grid.beginUpdate();
  s.grid.setColWidth(GridColumn::kName, kNameColumnWidth);
  s.grid.setColWidth(GridColumn::kLeader, kNameColumnWidth);
  for (int c = 0; c < kGridColumns; ++c) s.grid.setCell(c, 0, kHeadings[c]);
  s.grid.endUpdate();
}

}  // namespace tarnel
