#pragma once
// Where the document window changes its record, as plain functions over what its controls show:
// the record of a new case, and the controls into the record before every use of it (the
// calculation, the condition dialogs, saving). The window reads its controls into texts and runs
// these; nothing else in it writes the record from the controls.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/design_data.h"
#include "app/document_file.h"
#include "document/document_layout.h"
#include "document/document_rules.h"
#include "ui/layer.h"

namespace tovakin::gui {

// The fixed list a window list shows; nullopt for the three pipe lists, which the pipe database
// fills.
std::optional<FixedList> fixedListOf(DocCombo list);

// What the controls show at the moment of a transfer: every box by its index and every list by
// its DocCombo, as plain texts.
struct ControlTexts {
  std::array<std::string, kTextBoxCount> boxes;
  std::array<std::string, kListCount> lists;

  const std::string& box(int index) const { return boxes.at(static_cast<std::size_t>(index)); }
  const std::string& list(DocCombo which) const { return lists.at(static_cast<std::size_t>(which)); }
};

// Runs one step of a transfer. The window runs each under its error box, so that a step that
// raises is reported on its own and, on Ignore, the next step still runs.
using TransferStepRunner = std::function<void(const std::function<void()>& step)>;
// The pipe class of a pipe type (func管材区分: -1 for a type the material table lacks).
using PipeClassOf = std::function<std::int32_t(const std::string& kanshu)>;

// The controls into the record, in this order of steps:
//   1. the data tag, the title (box 0, untrimmed) and the update date `now`;
//   2. the burial and support codes from their lists;
//   3. the three pipe texts from their lists, untrimmed;
//   4. the truck, bulldozer and road codes from their lists;
//   5. one step per box of the box table, in index order: a number box read in its pattern, a
//      pipe box in millimetres into metres, the caterpillar count rounded half to even from the
//      text as it stands, the surcharge as its number text, the surcharge name untrimmed; the unit
//      weight (box 4) and the title (done in step 1) are not read here;
//   6. the inner diameters (outer diameter less twice the design, and less twice the catalogue,
//      wall thickness), spare 19, and the trench width copied for the foundation-material dialog
//      (box 5 is read also while it is disabled);
//   7. spare 18 and the pipe class of the stored pipe type.
// A list text that is no entry leaves its code as it was (the bulldozer list stores 0). A box
// that holds no number raises type mismatch (13), a number beyond a double or a count beyond 32
// bits overflow (6): that step writes nothing, and whether the next step runs is `runStep`'s.
void controlsToRecord(DesignData& record, const ControlTexts& shown, double now, const PipeClassOf& pipeClassOf,
                      const TransferStepRunner& runStep);

// The record of a new case for the pipe the lists show (newDesignData with that pipe's class),
// keeping the five codes the list fills wrote into `filled` before it was made.
DesignData newCaseRecord(const app::NewCasePipe& pipe, const DesignData& filled);

}  // namespace tovakin::gui
