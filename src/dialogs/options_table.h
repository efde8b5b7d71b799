#pragma once
// The options dialog's settings table: the 37 boxes, each bound to one member of the calculation
// settings, shown on one page in one display pattern and kept in TOVAKIN.INI under one key; and
// the dialog's rules that need no window (reading the boxes back, the history button, the
// layout). The dialog and its tests share this one list, so a box can only ever show and store
// the member it is bound to.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/calc_settings.h"
#include "shell/layer.h"

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

}  // namespace tovakin::gui
