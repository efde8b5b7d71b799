#pragma once
// The designed layout of the design document window: every control with its container, its
// place and size in twips, its designed caption and its colour. The window builds its controls
// from this table; the table is tested on its own (every box has its caption and unit beside it,
// nothing overlaps, nothing leaves its container).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

enum class DocContainer {
  Window,   // the document window itself
  Form,     // picMyForm, the input panel
  Tousei,   // picTouseiField, the flexible-pipe panel inside picMyForm
  Command,  // picCommand, the button panel inside picMyForm
};

enum class DocKind { Panel, Label, TextBox, Combo, Unit, Button };

// What a designed control is to the window, which keeps each one in its typed member by its role
// (never by its name). The switches over it have no default: a role added here without its place
// in the window does not compile.
enum class DocRole {
  FormPanel,        // picMyForm, the input panel
  TouseiPanel,      // picTouseiField, the flexible-pipe panel
  CommandPanel,     // picCommand, the button panel
  Caption,          // lblLabel(i), a fixed caption
  AppTitle,         // lblAppTitle
  KanshuCaption,    // lblKanshu, rigid or flexible
  MizohabaCaption,  // lblMizohaba, the trench width's caption
  FileName,         // lblMyFilename, hidden: the document's path
  CommandWord,      // lblMyCommand, hidden: the command channel
  TextBox,          // txtTextBox(i)
  Unit,             // picTanni(i)
  Kanshu,           // the eight lists, each its own role (documentLists() in document_rules.h)
  Kikaku,
  Yobina,
  Maisetu,
  Kiso,
  KajuJoken,
  BuruJoken,
  DoroJoken,
  KisozaiSet,       // cmdKisozaiSet
  NaigaiatuSet,     // cmdNaigaiatuSet
  Command,          // cmdCommand(i), 0 閉じる, 1 計算する
};
DocKind kindOf(DocRole role);

inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

struct DesignedControl {
  const char* name;  // the control's name ("lblLabel", "txtTextBox", "cbKanshu", ...)
  int index;         // its index in a control array, -1 for a single control
  DocRole role;
  DocContainer container;
  int left, top, width, height;
  const char* caption;               // designed caption of labels and buttons, else ""
  std::uint32_t backColour = kNoColour;  // &H00BBGGRR, kNoColour for the default

  DocKind kind() const { return kindOf(role); }
};

// Every control in creation order: the window's own controls, the panels, then the panel
// contents row by row.
const std::vector<DesignedControl>& documentControls();
// The control of a role and index; a role and index the table does not hold raise subscript out
// of range (9).
const DesignedControl& designedControl(DocRole role, int index = -1);
// The object name a designed control carries: its name, and "_" and its index for a control of an
// array ("txtTextBox_5", "cbKanshu"). Every object name of the window is made here.
std::string objectNameOf(const DesignedControl& control);
// The object name of a role and index (designedControl's, and its failure).
std::string objectNameOf(DocRole role, int index = -1);
// The failure of a look-up of a control: subscript out of range (9), naming the control as it
// would be named ("txtTextBox_24"; the role's number for a role the table has no control of).
[[noreturn]] void raiseNoControl(DocRole role, int index = -1);

// The caption label standing at the left of text box `index` in its row, and the unit caption at
// its right; nullptr where the row has none.
const DesignedControl* boxCaption(int index);
const DesignedControl* boxUnit(int index);

// The unit texts myFormEdit prints into picTanni(0) to picTanni(17), in index order; another
// index raises (9).
inline constexpr int kUnitCaptionCount = 18;
std::string_view unitTextOf(int index);

// Designed colours.
inline constexpr std::uint32_t kWindowColour = 0x00E0E0E0;
inline constexpr std::uint32_t kHeadingColour = 0x00C0C0FF;   // light red
inline constexpr std::uint32_t kKanshuColour = 0x00FFFFC0;    // light cyan
inline constexpr std::uint32_t kTitleColour = 0x00FFC0C0;     // light blue, set at load
inline constexpr std::uint32_t kReadOnlyColour = 0x00C0FFFF;  // light yellow
inline constexpr const char* kAppTitleCaption = "管路の構造計算 とう性管／不とう性管の検討";

// The designed faces of the window's texts.
inline constexpr const char* kDocumentFace = "ＭＳ Ｐゴシック";
inline constexpr double kDocumentPoints = 9.0;

}  // namespace tovakin::gui
