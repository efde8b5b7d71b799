#pragma once
// The rules behind the design document window, as plain functions over texts and numbers: the
// tables of its lists and boxes with the record field each shows, the items and codes of the
// fixed lists, the rigid / flexible switch, the trench-width controls, the design wall thickness
// and the five pipe boxes, the display patterns of the boxes and how a box is read back into the
// record. The window only applies them to its controls.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/design_data.h"
#include "calc/pipe_lookups.h"
#include "document/document_layout.h"
#include "ui/layer.h"

namespace tovakin::gui {

// A field of the record as the member it is: a number, a whole number, or a text of its width;
// none for a control that shows no field of the record.
using RecordField = std::variant<std::monostate, double DesignData::*, std::int32_t DesignData::*,
                                 app::FixedText<32> DesignData::*, app::FixedText<128> DesignData::*>;
// The record's name of a field ("dokaburi"): a look-up by field that finds nothing names it.
std::string_view recordFieldName(const RecordField& field);

// ---- The lists ------------------------------------------------------------------------------

// One entry of a fixed list and the code the record keeps for it.
struct ListItem {
  const char* text;
  double code;
};

// One list of the document window, known by its role: the record field it shows and where its
// entries come from. The window fills, shows and reads its lists from this one table.
struct DocumentList {
  DocRole role;                        // the list's control (cbKanshu ...)
  RecordField field;                   // a fixed list's code (a number), a pipe list's text
  const std::vector<ListItem>* items;  // a fixed list's entries in list order; nullptr for the
                                       // three pipe lists, which the pipe database fills
  const char* name;                    // the list as its caption names it
};
inline constexpr int kListCount = 8;
// The eight lists in the window's order: pipe type, standard and nominal size, then burial,
// support, truck, bulldozer and road.
const std::vector<DocumentList>& documentLists();
// The list of a role, and its place in documentLists(); a role that is no list raises subscript
// out of range (9).
const DocumentList& documentList(DocRole role);
int listIndexOf(DocRole role);

// A fixed list's entries in list order, and the code a new case starts with (the first entry's);
// a pipe list, or a role that is no list, raises subscript out of range (9).
const std::vector<ListItem>& fixedListItems(DocRole list);
double fixedListDefault(DocRole list);

// Record code -> the text of its entry; nullopt for a code the list has no entry for (a file
// written elsewhere, or by a later edition with more classes). Such a code is never shown as
// another entry: fixedListText raises subscript out of range (9) with unknownListCodeText,
// which names the list and the code ("輪荷重規格のコード 30 は一覧にありません。").
std::optional<std::string> fixedListEntry(DocRole list, double code);
std::string fixedListText(DocRole list, double code);
std::string unknownListCodeText(DocRole list, double code);
// The list's text -> the code to store, compared exactly. nullopt: a text that is no entry,
// which leaves the record's code as it is.
std::optional<double> fixedListCode(DocRole list, std::string_view text);

// ---- The rigid / flexible switch and the trench controls ------------------------------------

inline constexpr const char* kRigidCaption = "不とう性管";
inline constexpr const char* kFlexibleCaption = "とう性管";
inline constexpr const char* kFreeSupport = "自由支承";

struct KanshuSwitch {
  bool naigaiatuButton;  // cmdNaigaiatuSet shown
  bool touseiPanel;      // picTouseiField shown
  const char* caption;   // lblKanshu
};
// By the pipe class (0 rigid, 5 flexible with the EI check, any other flexible, -1 unknown)
// and the support list's text (the free support is compared exactly).
KanshuSwitch kanshuSwitchFor(std::int32_t kanzaiKubun, std::string_view kisoText);

struct TrenchControls {
  const char* caption;  // lblMizohaba
  bool enabled;         // lblMizohaba and box 5
};
// 0 溝型: "管頂部溝幅", enabled; 1 突出型: "管頂部溝幅", disabled; any other: "矢板中心溝幅", enabled.
TrenchControls trenchControlsFor(double maisetuKeishiki);

// ---- The pipe boxes -------------------------------------------------------------------------

// The design wall thickness of a pipe by its class, from the catalogue thickness and outer
// diameter (mm). Class 1 and 2 take the rules of the inner diameter D = 外径 - 2 管厚
// (threshold 800 mm, and for class 1 a thickness threshold of 9 mm); every other class uses
// the catalogue thickness.
double designWallThickness(std::int32_t kanzaiKubun, double kanatuKeisan, double gaikei);

// The values of the read-only pipe boxes, in mm (unit weight in kN/m³), named as the record
// fields they become (pipeBoxText gives each box its own).
struct PipeBoxes {
  double gaikei = 0.0;         // box 1
  double kanatu = 0.0;         // box 2, the design thickness
  double kanatuKeisan = 0.0;   // box 21, the catalogue thickness
  double chushinHankei = 0.0;  // box 3, (外径 - design thickness) / 2
  double unitWeight = 0.0;     // box 4
};
// No row, or a row without 外径 or 管厚, is no pipe: every box 0, so that the input check
// stops a calculation instead of carrying another pipe's dimensions under this pipe's name.
PipeBoxes pipeBoxesFor(const std::optional<calc::PipeDimensions>& row, std::int32_t kanzaiKubun,
                       double unitWeight);

// The size of the nominal-size list's text as the pipe table compares it: blanks around it
// allowed; "" is 0; nullopt for a text that is no number (no row can match it).
std::optional<double> nominalSizeValue(std::string_view text);

// ---- The boxes and the record ---------------------------------------------------------------

inline constexpr int kTextBoxCount = 24;

// How a box stands to the record.
enum class BoxKind {
  Text,       // a free text of the record, trimmed (0 title, 13 surcharge name)
  Number,     // a number field of the record, shown and read in the box's pattern
  Surcharge,  // 14: a number the record keeps as text
  Count,      // 15: the caterpillar count, a whole number
  Pipe,       // a pipe dimension the window fills from the pipe table: mm in the box, m in the record
  Weight,     // 4: the pipe's unit weight, filled from the pipe table and never read back
};

// One box of the document window: its record field, how it is shown and read, and where Enter
// goes from it. The window fills, reads, locks and chains its boxes from this one table.
struct DocumentBox {
  int index;                    // txtTextBox(index)
  RecordField field;            // the record field it shows, of the type its kind reads and writes:
                                // a number (Number, Pipe), the count, a text (Text, Surcharge);
                                // none for the unit weight
  BoxKind kind;
  const char* pattern;          // the display pattern, "" for the two free texts
  bool readOnly;                // the user cannot type into it
  const char* enter;            // the control Enter moves to; "" where the window's state decides
  std::size_t textBytes = 0;    // a free text: the bytes its record field holds, which the box
                                // keeps to as the user types (fitsRecordText); 0 for the others
};
const std::vector<DocumentBox>& documentBoxes();
// The box of that index, and the box that shows a record field. An index outside the table, or a
// field no box shows, raises subscript out of range (9) at once: a look-up never falls back to
// another box.
const DocumentBox& documentBox(int index);
const DocumentBox& boxOf(const RecordField& field);
// The boxes the window addresses by the field they show: the trench width, which the burial
// enables, and the adopted e', which the foundation-material dialog fills.
const DocumentBox& trenchBox();
const DocumentBox& adoptedModulusBox();

// The text of a pipe box (a Pipe box or the unit weight) for the values of a pipe, by the box's
// field, in its pattern; nullopt for every other box, which the pipe table does not fill.
std::optional<std::string> pipeBoxText(const PipeBoxes& pipe, const DocumentBox& box);

// The display pattern of box `index` ("0", "0.0", "0.00", "0.000"), "" for the two text boxes
// (0 title, 13 surcharge name). Like documentBox, an index outside the table raises (9).
std::string_view boxPattern(int index);
bool isReadOnlyBox(int index);  // 1, 2, 3, 4, 19, 21
bool isTextBox(int index);      // 0, 13

// A number box read as it is displayed (app::readTypedNumber: full-width digits, signs and points
// and "。" narrowed, "." the point whatever the locale, a blank text 0), rounded to the box's
// pattern; nullopt for a text that is not one number ("2,5", "1.5m", "1 5"), which is never cut
// to its leading number. A number beyond the range of a double raises overflow (6): it is never
// held to the largest double. This is the box check's reading, which shows the user what it made.
std::optional<double> readNumberBox(std::string_view text, std::string_view pattern);
// A number box read into the record by the same reading: a text that is no number raises type
// mismatch (13), a number beyond the range of a double overflow (6): the record never takes a
// 0 or a bound the box does not show.
double recordNumber(std::string_view text, std::string_view pattern);
// The caterpillar count of box 15, a 32-bit whole number: rounded half to even; a count beyond
// that range raises overflow (6) rather than being held to it.
std::int32_t caterpillarCount(double value);

// A value in its box's pattern; a value that is not finite shows as 0.
std::string showNumber(double value, std::string_view pattern);
// The surcharge as the record keeps it, a number text: an empty box "0", else the number in its
// shortest form (12.50 -> "12.5"), read as recordNumber reads (and fails on) a box. And back: a
// stored number text shows with two decimals, any other text as it is.
std::string surchargeToRecord(std::string_view boxText);
std::string surchargeToBox(std::string_view stored);

// The widths in bytes of code page 932 of the two free texts of the record.
inline constexpr std::size_t kTitleBytes = 128;       // box 0, keisanshoTitle
inline constexpr std::size_t kSurchargeNameBytes = 32;  // box 13, josaiKajuMeisho
// True when the text can be kept in a record field of that many bytes: every character exists
// in code page 932 and the text takes no more bytes there.
bool fitsRecordText(std::string_view utf8, std::size_t maxBytes);
// What a free-text box shows when it refuses a typed or pasted text: the first character code
// page 932 cannot hold, named; else, for a text too long, how much the box holds; "" for a text
// it keeps (fitsRecordText).
std::string refusedTextHint(std::string_view utf8, std::size_t maxBytes);

// ---- The keyboard ---------------------------------------------------------------------------

// What decides where Enter goes from boxes 7 and 9: box 5 takes input, and which of the
// condition buttons and the flexible-pipe panel are part of the window now.
struct EnterState {
  bool trenchEnabled = true;      // box 5
  bool naigaiatuButton = true;    // cmdNaigaiatuSet shown
  bool touseiPanel = true;        // picTouseiField shown
};
// The control Enter moves the focus to from an input (a box "txtTextBox_n" or a list "cbKanshu"
// ...), by its object name; "" for a control Enter does not move from (a button presses itself).
// Moving never chooses a list entry and never marks the case changed.
std::string enterTarget(std::string_view from, const EnterState& state);
// The Tab order of the window by object name. It follows the Enter links, so Tab and Enter agree;
// hidden and disabled controls are passed over by Tab as Enter passes over them. The read-only
// pipe boxes 1, 2, 3, 4 and 21 are not in it: Enter skips them too.
const std::vector<std::string>& tabOrder();
bool inTabOrder(int textBox);  // false for the read-only pipe boxes

// The text of box `index` re-formatted when the user leaves it or presses Enter: the two free
// texts trimmed, a number box in its pattern (a blank box 0), box 19 as it stands, and a text a
// number box cannot read as one number as it stands. A number beyond the range of a double
// raises overflow (6), which the box reports as a dialog's box does.
std::string reformatBox(int index, std::string_view text);
// True when box `index` is a number box the user types into and its text is not one number: the
// window says so, keeps the focus in the box and stores nothing.
bool unreadableNumberBox(int index, std::string_view text);

// ---- Window size ----------------------------------------------------------------------------

// The input panel decides the window: the designed window is the panel plus 400 twips of
// caption and frame in height and exactly the panel in width; the inside is the panel.
inline constexpr int kCaptionAllowance = 400;
struct TwipsSize {
  int width;
  int height;
  bool operator==(const TwipsSize&) const = default;
};
TwipsSize documentOuterSize(TwipsSize panel);
TwipsSize documentClientSize(TwipsSize outer);
struct TwipsPoint {
  int left;
  int top;
  bool operator==(const TwipsPoint&) const = default;
};
// The button panel's top-left corner when it is moved into the bottom-right corner of the
// input panel.
TwipsPoint commandPanelCorner(TwipsSize panel, TwipsSize buttons);

}  // namespace tovakin::gui
