#pragma once
// The options dialog's settings table: the 37 boxes, each bound to one member of the calculation
// settings, shown on one page in one display pattern and kept in TOVAKIN.INI under one key; the
// designed places of the pages' other controls; and the dialog's rules that need no window
// (reading the boxes back, the history button, the layout). The dialog and its tests share these
// lists, so a box can only ever show and store the member it is bound to, and the dialog builds
// its pages from them alone.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/calc_settings.h"
#include "ui/layer.h"

namespace tovakin::gui {

inline constexpr int kOptionsBoxCount = 37;
inline constexpr int kOptionsPageCount = 5;

// The pages, tab 1 to tab 5.
enum OptionsPage : int {
  kPageUnitWeights = 0,
  kPageSupportAngle = 1,
  kPageConditions = 2,
  kPageLoads = 3,
  kPageProgram = 4
};

// Enter in the box moves the focus to OK (to Cancel while OK is disabled).
inline constexpr int kEnterOk = -1;

struct OptionsBox {
  int page;                          // the tab page that holds the box
  const char* pattern;               // its display pattern ("0", "0.0", "0.00", "0.000")
  const char* iniKey;                // the key of [Tovakin] that keeps its member
  double& (*member)(CalcSettings&);  // the one member it shows and stores
  int next;                          // the box Enter moves to, or kEnterOk
  int left, top;                     // its place in the page's frame (twips)
  const char* unit;                  // its unit caption in the unit markup, or nullptr
};

// Box i is entry i.
const std::array<OptionsBox, kOptionsBoxCount>& optionsBoxes();

// The designed sizes (twips) of every box, of the button bar picCommand, and the place of each
// page's frame on its page.
inline constexpr int kOptionsBoxWidth = 1095, kOptionsBoxHeight = 270;
inline constexpr int kOptionsBarWidth = 3615, kOptionsBarHeight = 495;
inline constexpr int kOptionsFrameLeft = 120, kOptionsFrameTop = 120;
// The height of a frame's caption above its border line: the designed places inside a frame
// count from it.
inline constexpr int kOptionsFrameCaptionBand = 120;

// Tab i + 1: its page picOptions(i) and the frame fraFrame(i) on it.
struct OptionsPageDesign {
  const char* tab;    // the tab's caption
  const char* frame;  // the frame's caption
  int width, height;  // the frame's designed size (twips)
};
const std::array<OptionsPageDesign, kOptionsPageCount>& optionsPages();

// The dialog's controls other than the boxes (those the settings table places).
enum class OptionsKind { Label, Unit, Button };
// How a label's text stands in its place.
enum class OptionsText {
  Left,      // one line, left
  Centred,   // one line, centred
  TwoLines,  // from the top, broken where the caption has "\n"
  Wrapped,   // wrapped at the width
};
inline constexpr int kOnCommandBar = -1;  // the page of the buttons of picCommand

struct OptionsControl {
  const char* name;  // "Label1", "lblLabel", "picTanni", "cmdMRUClear", "cmdCommand", ...
  int index;         // its index in its control array, -1 for a single control
  OptionsKind kind;
  int page;                      // the page whose frame holds it, or kOnCommandBar
  int left, top, width, height;  // twips in its frame or in picCommand
  const char* caption;           // designed caption; a unit caption's text in the unit markup
  OptionsText text = OptionsText::Left;
  const char* tag = nullptr;  // a button's string-table id, or nullptr
  const char* tip = nullptr;  // a label's explanation, or nullptr
};
// Page by page, then the command buttons; the unit captions are numbered in the order of their
// boxes and stand beside them.
const std::vector<OptionsControl>& optionsControls();

// The order in which the Tab key visits the boxes (page by page, as they stand on screen).
const std::array<int, kOptionsBoxCount>& optionsTabOrder();
// The order in which OK and Apply read the boxes; the first unreadable one is the one reported.
const std::array<int, kOptionsBoxCount>& optionsReadOrder();

// What box `index` shows for the settings: its member in its pattern (a value that is not a
// number shows as 0).
std::string optionsBoxText(const CalcSettings& settings, int index);

// A box's text as OK and Apply read it: "" is 0, otherwise the text must be one finite number
// written with "." whatever the user's locale; nullopt when it is not.
std::optional<double> optionsBoxValue(std::string_view text);

// The 37 texts (entry i is box i) into `data`: each box writes its member, unconverted; the
// members no box shows keep their values. When a box holds no number nothing at all is written
// and that box is returned, so that the dialog can show it; nullopt when all were stored.
std::optional<int> optionsForm2Data(const std::array<std::string, kOptionsBoxCount>& texts, CalcSettings& data);

// Constants that would make a result meaningless are refused before anything is stored: a unit
// weight, wheel load, reduction factor, safety factor, support-angle coefficient or vehicle width
// of 0 or less (the calculation divides by some of them; a 0 in the others is an empty box and
// would pass a pipe on a load it never counted), a negative impact coefficient (0 is a real
// value), and a load-distribution or friction angle outside 0 to 90 degrees (exclusive).
struct OptionsRefusal {
  int box = 0;          // the box to show and focus
  std::string message;  // why, naming the box
};
// The first refused box in the order OK and Apply read them; nullopt when every value may stand.
std::optional<OptionsRefusal> optionsRefusal(const CalcSettings& settings);

// The history button and its explanation are enabled while at least one recent file is recorded.
bool historyClearEnabled(const std::array<std::string, 4>& recentFiles);

// The dialog's layout, computed from its five frames (twips).
struct OptionsLayout {
  int frameWidth = 0;                                        // every frame is widened to the widest
  int tabLeft = 0, tabTop = 0, tabWidth = 0, tabHeight = 0;  // the tab strip
  int formWidth = 0, formHeight = 0;                         // picMyForm: the dialog's client area
  int commandLeft = 0, commandTop = 0;                       // the OK / Cancel / Apply bar
};
// frames: each frame's (width, height); commandWidth: the width of the button bar.
OptionsLayout optionsLayout(const std::array<std::pair<int, int>, kOptionsPageCount>& frames, int commandWidth);
// The layout of the designed pages and button bar.
OptionsLayout optionsLayout();

}  // namespace tovakin::gui
