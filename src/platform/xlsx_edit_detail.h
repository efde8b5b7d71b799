#pragma once
// The editing state behind xlsx::EditableWorkbook and the helpers its parts share: text
// escaping and UTF-16 positions, sheet references inside defined-name formulas, and XML
// insertion in schema order. Only the xlsx_edit*.cpp / xlsx_write.cpp files (and their tests)
// include this.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "platform/xlsx_edit.h"
#include "platform/xlsx_model.h"

namespace tovakin::platform::xlsx::detail {

// ---- text --------------------------------------------------------------------------------------

// One character of a UTF-8 text: its bytes and how many UTF-16 units it takes. Malformed bytes
// come out as U+FFFD, one per ill-formed subsequence (platform/utf8.h).
struct TextChar {
  std::string_view bytes;
  char32_t codePoint;
  int units;   // 1 or 2
  bool valid;  // false for an ill-formed subsequence (codePoint U+FFFD)
};
std::vector<TextChar> splitChars(std::string_view utf8);
std::size_t utf16Length(std::string_view utf8);

// The text as the content of a <t> element: characters XML cannot hold (control characters
// other than tab and line feed, carriage return, U+FFFE, U+FFFF) become "_xHHHH_", the "_" of a
// literal "_xHHHH_" becomes "_x005F_" so that it is not read as an escape, and malformed UTF-8
// becomes U+FFFD. decodeOoxmlEscapes() gives the text back. With a range, only the bytes
// [from, to) are escaped, but a literal "_xHHHH_" is recognised in the whole text: the runs of
// one rich text, escaped one by one, then join to the escaped whole, so a literal split over
// two runs is not read as an escape either.
std::string escapeCellText(std::string_view utf8, std::size_t from = 0, std::size_t to = std::string_view::npos);

// The text as XML 1.0 can hold it outside a cell (no "_xHHHH_" escapes there): control
// characters other than tab, line feed and carriage return, U+FFFE and U+FFFF are left out,
// malformed UTF-8 becomes U+FFFD.
std::string xmlText(std::string_view utf8);

// Whether a <t> with this content needs xml:space="preserve".
bool needsSpacePreserve(std::string_view text);

// ---- sheet references in formulas --------------------------------------------------------------

// A sheet reference "Name!", "'Na''me'!" or "First:Last!" inside a formula: [begin, end) covers
// the sheet part without the "!".
struct SheetRefSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string first;  // unquoted
  std::string last;   // == first unless a 3-D reference
  bool external = false;  // "[1]Sheet!" or a path: a sheet of another workbook
};
std::vector<SheetRefSpan> findSheetRefs(std::string_view formula);

bool formulaRefersTo(std::string_view formula, std::string_view sheet);
// The formula with every reference to sheet `from` naming `to` instead.
std::string renameSheetInFormula(std::string_view formula, std::string_view from, std::string_view to);
// The sheet part of a reference: the name itself when it can stand unquoted, else quoted with
// its "'" doubled.
std::string quoteSheetName(std::string_view name);
std::string quoteSheetRange(std::string_view first, std::string_view last);

// "Sheet!$C$5", "'A b'!C5" or "Sheet!$C$5:$C$5": the sheet and the one cell; false for anything
// else (ranges, constants, external or broken references).
bool parseSingleCellFormula(std::string_view formula, std::string& sheet, CellRef& cell);

// Empty when `name` can be a sheet name; otherwise why not (Japanese).
std::string sheetNameProblem(std::string_view name);

// ---- XML ---------------------------------------------------------------------------------------

// Inserts a new element `local` (with the parent's namespace prefix) into `parent` before the
// first child that comes later in `order`; children not in `order` are passed over.
pugi::xml_node insertInOrder(pugi::xml_node parent, std::string_view local,
                             std::initializer_list<std::string_view> order);
// The namespace prefix of an element ("x:" for "x:row", "" for "row").
std::string prefixOf(pugi::xml_node node);
// The document as the bytes of a part, with the usual declaration.
std::string xmlBytes(const pugi::xml_document& doc);

extern const std::initializer_list<std::string_view> kWorksheetOrder;
extern const std::initializer_list<std::string_view> kWorkbookOrder;
extern const std::initializer_list<std::string_view> kStylesOrder;

// ---- the editing state -------------------------------------------------------------------------

struct RowEntry {
  pugi::xml_node node;
  std::map<std::uint32_t, pugi::xml_node> cells;  // column -> <c>
};

struct SheetDoc {
  std::string part;
  std::unique_ptr<pugi::xml_document> doc;
  pugi::xml_node root;
  std::string prefix;
  bool dirty = false;

  // Built on the first cell access.
  bool indexed = false;
  pugi::xml_node sheetData;
  std::map<std::uint32_t, RowEntry> rows;  // row number -> row
  struct ColumnStyle {
    std::uint32_t first, last;  // 0-based columns
    std::string style;
  };
  std::vector<ColumnStyle> columnStyles;
};

struct StylesIndex {
  bool loaded = false;
  pugi::xml_node cellXfs;
  std::vector<pugi::xml_node> xfs;
  std::vector<pugi::xml_node> fonts;
  std::unordered_map<std::uint32_t, std::uint32_t> quotedOf;  // base xf -> its quote-prefix clone
  std::unordered_map<std::uint32_t, std::uint32_t> baseOf;    // clone -> base xf
};

}  // namespace tovakin::platform::xlsx::detail

namespace tovakin::platform::xlsx {

class Editor {
 public:
  explicit Editor(std::unique_ptr<detail::Model> model);

  std::unique_ptr<detail::Model> model_;
  detail::Model& m;  // *model_

  std::unique_ptr<pugi::xml_document> contentTypesXml;
  std::unique_ptr<pugi::xml_document> workbookRelsXml;
  bool workbookDirty = false;
  bool contentTypesDirty = false;
  bool sharedStringsTouched = false;  // a shared string lost a reference
  bool stylesDirty = false;
  bool appPropertiesDirty = false;
  std::unique_ptr<pugi::xml_document> appPropertiesXml;  // docProps/app.xml, when edited
  std::string appPropertiesPart;
  bool corePropertiesDirty = false;
  std::unique_ptr<pugi::xml_document> corePropertiesXml;  // docProps/core.xml, when edited
  std::string corePropertiesPart;

  std::unordered_map<std::string, std::unique_ptr<detail::SheetDoc>> sheetDocs;  // folded part name
  detail::StylesIndex styles;
  bool sharedItemsLoaded = false;
  std::vector<pugi::xml_node> sharedItems;  // <si> elements of the shared strings

  // ---- sheets
  int sheetIndexOrFail(std::string_view sheet) const;
  std::string sheetLabel(std::size_t index) const;  // 「name」 for messages
  // Position of a <sheet> among all sheets of workbook.xml (chart sheets included), as
  // localSheetId and activeTab count.
  int positionOf(pugi::xml_node sheetNode) const;
  std::vector<pugi::xml_node> allSheetNodes() const;
  static bool isVisible(pugi::xml_node sheetNode);

  detail::SheetDoc& sheetDoc(std::size_t index);
  detail::SheetDoc& indexedSheet(std::size_t index);

  // ---- cells
  bool resolve(std::size_t index, std::string_view address, CellRef& out) const;
  CellRef resolveOrFail(std::size_t index, std::string_view address) const;
  pugi::xml_node findCell(detail::SheetDoc& sheet, CellRef ref) const;
  pugi::xml_node cellForWrite(detail::SheetDoc& sheet, CellRef ref);
  std::string valueText(pugi::xml_node cell);
  // The string item of a text cell (<is> or the shared item), or an empty node.
  pugi::xml_node stringItem(pugi::xml_node cell);
  void loadSharedItems();
  void clearValue(pugi::xml_node cell);

  // ---- defined names
  pugi::xml_node definedNames() const;
  pugi::xml_node findDefinedName(std::size_t index, std::string_view name) const;

  // ---- styles
  void loadStyles();
  void ensureStyles();
  std::uint32_t styleOf(pugi::xml_node cell) const;
  std::uint32_t quotedStyle(std::uint32_t base);
  pugi::xml_node fontOfStyle(std::uint32_t xf);

  // ---- package bookkeeping
  void removeOverride(std::string_view part);
  void addOverride(std::string_view part, std::string_view contentType);
  void storeWorkbookRels();
  std::string addWorkbookRel(std::string_view type, std::string_view target);
  // The parts a sheet's delete removes: its part and those reached through it that nothing else
  // leads to once the workbook relationship `droppedRelId` ("" when it stays) is gone. Changes
  // nothing; throws on a relationships part it cannot read.
  std::vector<std::string> partsOnlyReachedThrough(const std::string& part, const std::string& droppedRelId) const;
  // Whether anything in the workbook part other than the sheet's node uses the relationship.
  bool relationshipUsedElsewhere(const std::string& relId, pugi::xml_node sheetNode) const;
  pugi::xml_document* appProperties();
  // The root of a document-properties part (see xlsx_edit_properties.cpp), made when missing.
  struct PropertiesKind;
  pugi::xml_node propertiesRoot(const PropertiesKind& kind, std::unique_ptr<pugi::xml_document>& doc,
                                std::string& part);
  void findOrMakeProperties(const PropertiesKind& kind, std::unique_ptr<pugi::xml_document>& doc, std::string& part);
  void addPackageRel(std::string_view type, std::string_view target);
  bool hasOverride(std::string_view part, std::string_view contentType) const;
  void updateAppTitles(std::string_view sheet, const std::string* newName);

  // ---- views
  std::vector<pugi::xml_node> workbookViews(bool create);
  void adjustViewsForDeletion(int position, int countBefore, const std::vector<pugi::xml_node>& sheetsAfter);
  void normaliseTabSelection();
  void removeCalcChain();

  // ---- saving
  // Parses every worksheet; false when one cannot be read (it then travels as it is).
  bool loadAllSheets();
  // Whether the worksheets are the only sheets that hold cells (no macro sheets).
  bool cellsOnlyInWorksheets() const;
  // Keeps the shared strings the parsed sheets reference, renumbers their cells and sets the
  // counts: call only with every worksheet parsed.
  void rebuildSharedStrings();

  void fail(const std::string& message) const { m.fail(message); }
};

}  // namespace tovakin::platform::xlsx
