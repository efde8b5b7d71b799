#pragma once
// The designed layout of the design document window: every control with its container, its
// place and size in twips, its designed caption and its colour. The window builds its controls
// from this table; the table is tested on its own (every box has its caption and unit beside it,
// nothing overlaps, nothing leaves its container).
#include <cstdint>
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

inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

struct DesignedControl {
  const char* name;  // the control's name ("lblLabel", "txtTextBox", "cbKanshu", ...)
  int index;         // its index in a control array, -1 for a single control
  DocKind kind;
  DocContainer container;
  int left, top, width, height;
  const char* caption;               // designed caption of labels and buttons, else ""
  std::uint32_t backColour = kNoColour;  // &H00BBGGRR, kNoColour for the default
};

// Every control in creation order: the window's own controls, the panels, then the panel
// contents row by row.
const std::vector<DesignedControl>& documentControls();
// The control of that name and index, nullptr when there is none.
const DesignedControl* designedControl(std::string_view name, int index = -1);

// The unit texts myFormEdit prints into picTanni(0) to picTanni(17), in index order.
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
