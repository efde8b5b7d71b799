#pragma once
// The one place where the document window's controls and its record meet, as plain functions over
// what the controls show: the controls into the record before every use of it (the calculation,
// the condition dialogs, saving), the record into the controls when a case is shown, what filling
// a list writes into the record, and the record of a new case. The window reads and sets its
// controls' texts and runs these; it writes no field of the record itself (a file opened and the
// condition dialogs replace or edit the record through their own functions).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/design_data.h"
#include "app/document_file.h"
#include "document/document_layout.h"
#include "document/document_rules.h"
#include "ui/layer.h"

namespace tovakin::gui {

// What the controls show at the moment of a transfer: every box by its index and every list by
// its role, as plain texts.
struct ControlTexts {
  std::array<std::string, kTextBoxCount> boxes;
  std::array<std::string, kListCount> lists;  // in the order of documentLists()

  const std::string& box(int index) const { return boxes.at(static_cast<std::size_t>(index)); }
  const std::string& list(DocRole list) const { return lists.at(listAt(list)); }
  std::string& list(DocRole list) { return lists.at(listAt(list)); }

 private:
  // A role that is no list raises subscript out of range (9).
  static std::size_t listAt(DocRole list) {
    return static_cast<std::size_t>(&documentList(list) - documentLists().data());
  }
};

// Runs one step of a transfer. The window runs each under its error box, so that a step that
// raises is reported on its own and, on Ignore, the next step still runs.
using TransferStepRunner = std::function<void(const std::function<void()>& step)>;
// The pipe class of a pipe type (func管材区分: -1 for a type the material table lacks).
using PipeClassOf = std::function<std::int32_t(const std::string& kanshu)>;

// ---- The controls into the record -----------------------------------------------------------

// The controls into the record, in this order of steps:
//   1. the data tag and the update date `now`;
//   2. the burial and support codes from their lists;
//   3. the three pipe texts from their lists, untrimmed;
//   4. the truck, bulldozer and road codes from their lists;
//   5. one step per box of the box table, in index order, into the box's field: a number box read
//      in its pattern, a pipe box in millimetres into metres, the caterpillar count rounded half
//      to even from the text as it stands, the surcharge as its number text, the two free texts
//      (the title and the surcharge name) untrimmed; the unit weight (box 4) is not read;
//   6. the inner diameters (outer diameter less twice the design, and less twice the catalogue,
//      wall thickness), spare 19, and the trench width copied for the foundation-material dialog
//      (the trench box is read also while it is disabled);
//   7. spare 18 and the pipe class of the stored pipe type.
// A list text that is no entry leaves its code as it was. A box
// that holds no number raises type mismatch (13), a number beyond a double or a count beyond 32
// bits overflow (6): that step writes nothing, and whether the next step runs is `runStep`'s.
void controlsToRecord(DesignData& record, const ControlTexts& shown, double now, const PipeClassOf& pipeClassOf,
                      const TransferStepRunner& runStep);

// What filling a list writes into the record: a fixed list its first entry's code, whatever it
// shows (the road list shows no entry until the record is shown); a pipe list the text it shows
// once filled, its first entry, or "" when it has none.
void listFilled(DesignData& record, DocRole list, const std::string& shown);

// A pipe list's text into the record, untrimmed (as the controls go into the record, and as the
// window keeps the pipe a record holds once the lists below it have been filled again).
void storePipeText(DesignData& record, DocRole list, const std::string& shown);

// ---- The record into the controls -----------------------------------------------------------

// What showing a record asks of the window: its lists' and boxes' texts, and its own steps that
// follow what the lists show.
class ShownControls {
 public:
  virtual ~ShownControls() = default;
  virtual std::string listText(DocRole list) const = 0;
  virtual void setListText(DocRole list, const std::string& text) = 0;
  virtual void setBoxText(int index, const std::string& text) = 0;
  // Fills the standard or the size list again for the lists above it; like every fill it writes
  // what the list then shows into the record (listFilled). Any other list raises (9).
  virtual void refillPipeList(DocRole list) = 0;
  // The pipe boxes from the pipe table, for the pipe the lists show.
  virtual void showPipeBoxes() = 0;
  // The rigid / flexible switch for the pipe type and the support the lists show.
  virtual void showKanshuSwitch() = 0;
  // The trench-width caption and enabled state for a burial code.
  virtual void showTrench(double maisetuKeishiki) = 0;
};

// The record into the controls, in this order:
//   1. the three pipe texts taken from the record, before any list is refilled (each refill
//      writes its first entry into the record);
//   2. the pipe type shown, the standards refilled and the standard shown, the sizes refilled and
//      the size shown;
//   3. the standard and the size the lists show written back into the record, which so keeps the
//      pipe it holds rather than the first entries of the refills;
//   4. the pipe boxes, the support and the rigid / flexible switch, the burial and the trench
//      controls, the truck, bulldozer and road lists; a code a fixed list has no entry for shows
//      as the code itself (never as another entry) and the record keeps it;
//   5. every box that shows a field of the record (boxTextOf); the pipe boxes keep step 4's;
//   6. when a code had no entry, one notice (unknownCodesMessage) naming each list and code.
// Each step of lists and boxes runs through `runStep`; the refills and the window's switches run
// their own.
void recordToControls(DesignData& record, ShownControls& controls, const TransferStepRunner& runStep);
// The notice of codes without an entry, one line each (unknownListCodeText).
std::string unknownCodesMessage(const std::vector<std::string>& unknown);


// The text a list shows for the record: a fixed list the entry of its code (fixedListText), a
// pipe list the record's text trimmed.
std::string listTextOf(const DesignData& record, DocRole list);
// The text a box shows for the record: a number in the box's pattern, the count in its pattern,
// the surcharge with two decimals when it is a number, a free text trimmed; nullopt for the pipe
// boxes and the unit weight, which the pipe table fills.
std::optional<std::string> boxTextOf(const DesignData& record, const DocumentBox& box);

// ---- A new case -----------------------------------------------------------------------------

// The record of a new case for the pipe the lists show (newDesignData with that pipe's class),
// keeping the five codes the list fills wrote into `filled` before it was made.
DesignData newCaseRecord(const app::NewCasePipe& pipe, const DesignData& filled);

}  // namespace tovakin::gui
