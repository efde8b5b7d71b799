// The editable workbook: cells (texts, quote prefix, superscript runs), defined-name lookup,
// styles and the selection. Sheets are deleted and renamed in xlsx_edit_sheets.cpp, the package
// is written in xlsx_write.cpp.
#include <charconv>
#include <cstring>

#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx {

using namespace detail;

namespace {

constexpr const char* kTransitionalMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

bool parseUnsigned(std::string_view s, std::uint32_t& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

bool isTrue(pugi::xml_attribute a) {
  const std::string_view v = a.value();
  return v == "1" || v == "true";
}

// "A1:C5" or "A1": the corners.
bool parseArea(std::string_view s, CellRef& a, CellRef& b) {
  const auto colon = s.find(':');
  if (!parseCellRef(s.substr(0, colon), a)) return false;
  if (colon == std::string_view::npos) {
    b = a;
    return true;
  }
  return parseCellRef(s.substr(colon + 1), b);
}

// Moves the children in `order` to the positions the order gives them, before `stop` (or at
// the end).
void reorderChildren(pugi::xml_node parent, const std::vector<pugi::xml_node>& order, pugi::xml_node stop) {
  for (pugi::xml_node n : order) {
    if (stop) parent.insert_move_before(n, stop);
    else parent.append_move(n);
  }
}

}  // namespace

// ---- construction -------------------------------------------------------------------------------

Editor::Editor(std::unique_ptr<Model> model) : model_(std::move(model)), m(*model_) {
  contentTypesXml = m.parsePart("[Content_Types].xml");
  workbookRelsXml = m.parsePart(relsPartOf(m.workbookPart), false);
  if (!workbookRelsXml) {
    workbookRelsXml = std::make_unique<pugi::xml_document>();
    workbookRelsXml->append_child("Relationships").append_attribute("xmlns") =
        "http://schemas.openxmlformats.org/package/2006/relationships";
  }
}

// ---- sheets -------------------------------------------------------------------------------------

int Editor::sheetIndexOrFail(std::string_view sheet) const {
  const int index = m.findSheet(sheet);
  if (index < 0) fail("シート「" + std::string(sheet) + "」がありません。");
  return index;
}

std::string Editor::sheetLabel(std::size_t index) const { return "シート「" + m.sheets.at(index).name + "」"; }

std::vector<pugi::xml_node> Editor::allSheetNodes() const {
  std::vector<pugi::xml_node> nodes;
  pugi::xml_node list = child(m.workbookXml->document_element(), "sheets");
  for (pugi::xml_node s = list.first_child(); s; s = s.next_sibling()) {
    if (s.type() == pugi::node_element && localName(s.name()) == "sheet") nodes.push_back(s);
  }
  return nodes;
}

int Editor::positionOf(pugi::xml_node sheetNode) const {
  int position = 0;
  for (pugi::xml_node s = sheetNode.previous_sibling(); s; s = s.previous_sibling()) {
    if (s.type() == pugi::node_element && localName(s.name()) == "sheet") ++position;
  }
  return position;
}

bool Editor::isVisible(pugi::xml_node sheetNode) {
  const std::string_view state = sheetNode.attribute("state").value();
  return state.empty() || state == "visible";
}

SheetDoc& Editor::sheetDoc(std::size_t index) {
  const SheetInfo& info = m.sheets.at(index);
  const std::string key = foldPartName(info.part);
  auto found = sheetDocs.find(key);
  if (found != sheetDocs.end()) return *found->second;
  auto sd = std::make_unique<SheetDoc>();
  sd->part = info.part;
  sd->doc = m.parsePart(info.part, true, sheetLabel(index));
  sd->root = sd->doc->document_element();
  if (localName(sd->root.name()) != "worksheet") fail(sheetLabel(index) + "の本体が壊れています。");
  sd->prefix = prefixOf(sd->root);
  return *sheetDocs.emplace(key, std::move(sd)).first->second;
}

SheetDoc& Editor::indexedSheet(std::size_t index) {
  SheetDoc& sd = sheetDoc(index);
  if (sd.indexed) return sd;
  const auto sheetFail = [&](const std::string& what) { fail(sheetLabel(index) + what); };

  sd.sheetData = child(sd.root, "sheetData");
  if (!sd.sheetData) sd.sheetData = insertInOrder(sd.root, "sheetData", kWorksheetOrder);

  // Rows and cells keyed by their numbers; rows or cells without a number get their number
  // written, so that new ones can be put in order between them.
  struct Indexer final : SheetDataVisitor {
    explicit Indexer(SheetDoc& sheet) : sd(sheet) {}
    void row(pugi::xml_node node, std::uint32_t number, bool numbered) override {
      finishRow();
      if (!numbered) node.append_attribute("r") = number;
      rowsSorted = rowsSorted && (sd.rows.empty() || number > lastRow);
      lastRow = number;
      entry = &sd.rows.emplace(number, RowEntry{node, {}}).first->second;
      cellsSorted = true;
      lastColumn = 0;
    }
    void cell(pugi::xml_node node, CellRef ref, bool numbered) override {
      if (!numbered) node.append_attribute("r") = formatCellRef(ref).c_str();
      cellsSorted = cellsSorted && (entry->cells.empty() || ref.column > lastColumn);
      lastColumn = ref.column;
      entry->cells.emplace(ref.column, node);
    }
    // Cells out of order are put in order, before the row's extLst.
    void finishRow() {
      if (!entry || cellsSorted) return;
      std::vector<pugi::xml_node> order;
      for (const auto& [col, node] : entry->cells) order.push_back(node);
      reorderChildren(entry->node, order, child(entry->node, "extLst"));
    }
    SheetDoc& sd;
    RowEntry* entry = nullptr;
    std::uint32_t lastRow = 0, lastColumn = 0;
    bool rowsSorted = true, cellsSorted = true;
  } indexer(sd);
  walkSheetData(sd.sheetData, m.limits.maxCellsPerSheet, sheetFail, indexer);
  indexer.finishRow();
  if (!indexer.rowsSorted) {
    std::vector<pugi::xml_node> order;
    for (const auto& [number, entry] : sd.rows) order.push_back(entry.node);
    reorderChildren(sd.sheetData, order, {});
  }

  // Column styles: a new cell in a styled column takes the column's style.
  for (pugi::xml_node cols = sd.root.first_child(); cols; cols = cols.next_sibling()) {
    if (cols.type() != pugi::node_element || localName(cols.name()) != "cols") continue;
    for (pugi::xml_node col = cols.first_child(); col; col = col.next_sibling()) {
      if (col.type() != pugi::node_element || localName(col.name()) != "col") continue;
      std::uint32_t lo = 0, hi = 0;
      if (!parseUnsigned(col.attribute("min").value(), lo) || !parseUnsigned(col.attribute("max").value(), hi) ||
          lo < 1 || hi < lo) {
        continue;
      }
      const char* style = col.attribute("style").value();
      if (*style) sd.columnStyles.push_back({lo - 1, hi - 1, style});
    }
  }
  sd.indexed = true;
  return sd;
}

// ---- addresses and defined names ---------------------------------------------------------------

pugi::xml_node Editor::definedNames() const { return child(m.workbookXml->document_element(), "definedNames"); }

pugi::xml_node Editor::findDefinedName(std::size_t index, std::string_view name) const {
  pugi::xml_node names = definedNames();
  const int position = positionOf(m.sheets.at(index).node);
  pugi::xml_node global;
  for (pugi::xml_node n = names.first_child(); n; n = n.next_sibling()) {
    if (n.type() != pugi::node_element || localName(n.name()) != "definedName") continue;
    if (!equalsFolded(n.attribute("name").value(), name)) continue;
    pugi::xml_attribute local = n.attribute("localSheetId");
    if (!local) {
      if (!global) global = n;
      continue;
    }
    std::uint32_t id = 0;
    if (parseUnsigned(local.value(), id) && static_cast<int>(id) == position) return n;
  }
  return global;
}

bool Editor::resolve(std::size_t index, std::string_view address, CellRef& out) const {
  if (parseCellRef(address, out)) return true;
  pugi::xml_node name = findDefinedName(index, address);
  if (!name) return false;
  std::string sheet;
  CellRef cell;
  if (!parseSingleCellFormula(name.child_value(), sheet, cell) || !equalsFolded(sheet, m.sheets[index].name)) {
    return false;
  }
  out = cell;
  return true;
}

CellRef Editor::resolveOrFail(std::size_t index, std::string_view address) const {
  CellRef ref;
  if (!resolve(index, address, ref)) {
    fail(sheetLabel(index) + "にセル番地または名前「" + std::string(address) + "」のセルがありません。");
  }
  return ref;
}

// ---- cells -------------------------------------------------------------------------------------

pugi::xml_node Editor::findCell(SheetDoc& sd, CellRef ref) const {
  const auto row = sd.rows.find(ref.row);
  if (row == sd.rows.end()) return {};
  const auto cell = row->second.cells.find(ref.column);
  return cell == row->second.cells.end() ? pugi::xml_node{} : cell->second;
}

pugi::xml_node Editor::cellForWrite(SheetDoc& sd, CellRef ref) {
  if (pugi::xml_node existing = findCell(sd, ref)) return existing;
  const std::string rowName = sd.prefix + "row";
  auto it = sd.rows.lower_bound(ref.row);
  if (it == sd.rows.end() || it->first != ref.row) {
    pugi::xml_node node = it == sd.rows.end() ? sd.sheetData.append_child(rowName.c_str())
                                              : sd.sheetData.insert_child_before(rowName.c_str(), it->second.node);
    node.append_attribute("r") = ref.row;
    it = sd.rows.emplace_hint(it, ref.row, RowEntry{node, {}});
  }
  RowEntry& row = it->second;

  const std::string cellName = sd.prefix + "c";
  const auto next = row.cells.lower_bound(ref.column);
  pugi::xml_node c;
  if (next != row.cells.end()) {
    c = row.node.insert_child_before(cellName.c_str(), next->second);
  } else if (pugi::xml_node ext = child(row.node, "extLst")) {
    c = row.node.insert_child_before(cellName.c_str(), ext);
  } else {
    c = row.node.append_child(cellName.c_str());
  }
  c.append_attribute("r") = formatCellRef(ref).c_str();
  row.cells.emplace(ref.column, c);

  // The style a new cell shows: the row's when the row carries one, else its column's.
  std::string style;
  if (isTrue(row.node.attribute("customFormat"))) style = row.node.attribute("s").value();
  if (style.empty()) {
    for (const auto& cs : sd.columnStyles) {
      if (ref.column >= cs.first && ref.column <= cs.last) style = cs.style;
    }
  }
  if (!style.empty() && style != "0") c.append_attribute("s") = style.c_str();

  // The row's span hint and the sheet's dimension must cover the new cell.
  if (pugi::xml_attribute spans = row.node.attribute("spans")) {
    const std::string_view v = spans.value();
    const auto colon = v.find(':');
    std::uint32_t lo = 0, hi = 0;
    if (colon == std::string_view::npos || !parseUnsigned(v.substr(0, colon), lo) ||
        !parseUnsigned(v.substr(colon + 1), hi) || ref.column + 1 < lo || ref.column + 1 > hi) {
      row.node.remove_attribute(spans);
    }
  }
  if (pugi::xml_node dimension = child(sd.root, "dimension")) {
    CellRef a, b;
    if (parseArea(dimension.attribute("ref").value(), a, b)) {
      const bool empty = sd.rows.size() == 1 && row.cells.size() == 1 && a.row == 1 && a.column == 0 &&
                         b.row == 1 && b.column == 0;  // "A1" stands for an empty sheet
      if (empty) {
        a = b = ref;
      } else {
        a = {std::min(a.column, ref.column), std::min(a.row, ref.row)};
        b = {std::max(b.column, ref.column), std::max(b.row, ref.row)};
      }
      const std::string area =
          a.row == b.row && a.column == b.column ? formatCellRef(a) : formatCellRef(a) + ":" + formatCellRef(b);
      dimension.attribute("ref").set_value(area.c_str());
    }
  }
  sd.dirty = true;
  return c;
}

void Editor::loadSharedItems() {
  if (sharedItemsLoaded) return;
  sharedItemsLoaded = true;
  if (!m.sharedStringsXml) return;
  for (pugi::xml_node si = m.sharedStringsXml->document_element().first_child(); si; si = si.next_sibling()) {
    if (si.type() == pugi::node_element && localName(si.name()) == "si") sharedItems.push_back(si);
  }
}

pugi::xml_node Editor::stringItem(pugi::xml_node cell) {
  const std::string_view type = cell.attribute("t").value();
  if (type == "inlineStr") return child(cell, "is");
  if (type != "s") return {};
  loadSharedItems();
  std::uint32_t index = 0;
  if (!parseUnsigned(child(cell, "v").text().get(), index) || index >= sharedItems.size()) return {};
  return sharedItems[index];
}

std::string Editor::valueText(pugi::xml_node cell) {
  const std::string_view type = cell.attribute("t").value();
  if (type == "inlineStr" || type == "s") {
    pugi::xml_node item = stringItem(cell);
    return item ? stringItemText(item) : std::string();
  }
  const char* v = child(cell, "v").text().get();
  if (type == "str") return decodeOoxmlEscapes(v);
  if (type == "b") return std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0 ? "TRUE" : "FALSE";
  return v;
}

void Editor::clearValue(pugi::xml_node cell) {
  if (std::string_view(cell.attribute("t").value()) == "s") sharedStringsTouched = true;
  for (pugi::xml_node c = cell.first_child(); c;) {
    pugi::xml_node next = c.next_sibling();
    const auto name = localName(c.name());
    if (c.type() != pugi::node_element || name == "f" || name == "v" || name == "is") cell.remove_child(c);
    c = next;
  }
  for (const char* a : {"t", "cm", "vm"}) cell.remove_attribute(a);
}

// ---- styles ------------------------------------------------------------------------------------

void Editor::loadStyles() {
  if (styles.loaded || !m.stylesXml) return;
  styles.loaded = true;
  pugi::xml_node root = m.stylesXml->document_element();
  styles.cellXfs = child(root, "cellXfs");
  for (pugi::xml_node xf = styles.cellXfs.first_child(); xf; xf = xf.next_sibling()) {
    if (xf.type() == pugi::node_element && localName(xf.name()) == "xf") styles.xfs.push_back(xf);
  }
  for (pugi::xml_node f = child(child(root, "fonts"), "font"); f; f = f.next_sibling()) {
    if (f.type() == pugi::node_element && localName(f.name()) == "font") styles.fonts.push_back(f);
  }
}

void Editor::ensureStyles() {
  if (!m.stylesXml) {
    // A workbook without styles gets the default ones, so that a cell can carry a style.
    pugi::xml_node wb = m.workbookXml->document_element();
    const std::string prefix = prefixOf(wb);
    const std::string xmlns = prefix.empty() ? "xmlns" : "xmlns:" + prefix.substr(0, prefix.size() - 1);
    std::string ns = wb.attribute(xmlns.c_str()).value();
    if (ns.empty()) ns = kTransitionalMain;
    const std::string xml =
        "<styleSheet xmlns=\"" + ns +
        "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
        "patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/><right/><top/><bottom/>"
        "<diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\" xfId=\"0\"/></cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
        "builtinId=\"0\"/></cellStyles></styleSheet>";
    auto doc = std::make_unique<pugi::xml_document>();
    doc->load_string(xml.c_str());
    const std::string folder = m.workbookPart.substr(0, m.workbookPart.rfind('/') + 1);
    std::string part = folder + "styles.xml";
    for (int k = 1; m.package.contains(part); ++k) part = folder + "styles" + std::to_string(k) + ".xml";
    m.package.put(part, xmlBytes(*doc));
    addOverride(part, "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    addWorkbookRel("styles", part.substr(folder.size()));
    m.stylesPart = part;
    m.stylesXml = std::move(doc);
    stylesDirty = true;
  }
  loadStyles();
  if (!styles.cellXfs) {
    styles.cellXfs = insertInOrder(m.stylesXml->document_element(), "cellXfs", kStylesOrder);
    pugi::xml_node xf = styles.cellXfs.append_child((prefixOf(styles.cellXfs) + "xf").c_str());
    for (const char* a : {"numFmtId", "fontId", "fillId", "borderId"}) xf.append_attribute(a) = "0";
    styles.xfs.push_back(xf);
    styles.cellXfs.append_attribute("count") = 1;
    stylesDirty = true;
  }
}

std::uint32_t Editor::styleOf(pugi::xml_node cell) const {
  std::uint32_t s = 0;
  parseUnsigned(cell.attribute("s").value(), s);
  return s;
}

std::uint32_t Editor::quotedStyle(std::uint32_t base) {
  ensureStyles();
  if (base >= styles.xfs.size()) fail("セルの書式 " + std::to_string(base) + " がブックの書式にありません。");
  if (isTrue(styles.xfs[base].attribute("quotePrefix"))) return base;
  const auto cached = styles.quotedOf.find(base);
  if (cached != styles.quotedOf.end()) return cached->second;

  pugi::xml_node clone = styles.cellXfs.insert_copy_after(styles.xfs[base], styles.xfs.back());
  if (pugi::xml_attribute q = clone.attribute("quotePrefix")) q.set_value("1");
  else clone.append_attribute("quotePrefix") = "1";
  const auto index = static_cast<std::uint32_t>(styles.xfs.size());
  styles.xfs.push_back(clone);
  if (pugi::xml_attribute count = styles.cellXfs.attribute("count")) count.set_value(index + 1);
  styles.quotedOf.emplace(base, index);
  styles.baseOf.emplace(index, base);
  stylesDirty = true;
  return index;
}

pugi::xml_node Editor::fontOfStyle(std::uint32_t xf) {
  loadStyles();
  if (xf >= styles.xfs.size()) return {};
  std::uint32_t font = 0;
  parseUnsigned(styles.xfs[xf].attribute("fontId").value(), font);
  return font < styles.fonts.size() ? styles.fonts[font] : pugi::xml_node{};
}

// ---- views -------------------------------------------------------------------------------------

std::vector<pugi::xml_node> Editor::workbookViews(bool create) {
  pugi::xml_node wb = m.workbookXml->document_element();
  pugi::xml_node bookViews = child(wb, "bookViews");
  std::vector<pugi::xml_node> views;
  for (pugi::xml_node v = bookViews.first_child(); v; v = v.next_sibling()) {
    if (v.type() == pugi::node_element && localName(v.name()) == "workbookView") views.push_back(v);
  }
  if (views.empty() && create) {
    if (!bookViews) bookViews = insertInOrder(wb, "bookViews", kWorkbookOrder);
    views.push_back(bookViews.append_child((prefixOf(wb) + "workbookView").c_str()));
    workbookDirty = true;
  }
  return views;
}

}  // namespace tovakin::platform::xlsx

namespace tovakin::platform::xlsx {

// ---- EditableWorkbook --------------------------------------------------------------------------

namespace {

struct Piece {
  std::string text;  // decoded
  bool raised;
};

// The runs of a string item: plain <t> and rich <r> runs, phonetic runs left out.
std::vector<Piece> piecesOf(pugi::xml_node item) {
  std::vector<Piece> pieces;
  for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const auto name = localName(c.name());
    if (name == "t") {
      pieces.push_back({decodeOoxmlEscapes(c.text().get()), false});
    } else if (name == "r") {
      pugi::xml_node align = child(child(c, "rPr"), "vertAlign");
      const bool raised = std::string_view(align.attribute("val").value()) == "superscript";
      pieces.push_back({decodeOoxmlEscapes(child(c, "t").text().get()), raised});
    }
  }
  return pieces;
}

void setText(pugi::xml_node parent, const std::string& prefix, std::string_view text, std::size_t from = 0,
             std::size_t to = std::string_view::npos) {
  pugi::xml_node t = parent.append_child((prefix + "t").c_str());
  const std::string escaped = escapeCellText(text, from, to);
  if (needsSpacePreserve(escaped)) t.append_attribute("xml:space") = "preserve";
  t.text().set(escaped.c_str());
}

// The run properties that repeat the cell's font; raised runs get the superscript alignment.
void appendRunProperties(pugi::xml_node run, const std::string& prefix, pugi::xml_node font, bool raised) {
  if (!font && !raised) return;
  pugi::xml_node rPr = run.append_child((prefix + "rPr").c_str());
  pugi::xml_node sz;
  for (pugi::xml_node p = font.first_child(); p; p = p.next_sibling()) {
    if (p.type() != pugi::node_element) continue;
    const std::string_view local = localName(p.name());
    if (raised && local == "vertAlign") continue;
    pugi::xml_node copy = rPr.append_copy(p);
    copy.set_name((prefix + std::string(local == "name" ? "rFont" : local)).c_str());
    if (local == "sz") sz = copy;
  }
  if (raised) {
    const std::string name = prefix + "vertAlign";
    pugi::xml_node align = sz ? rPr.insert_child_before(name.c_str(), sz) : rPr.append_child(name.c_str());
    align.append_attribute("val") = "superscript";
  }
}

}  // namespace

EditableWorkbook EditableWorkbook::open(const std::string& path, const std::string& password, const Limits& limits) {
  (void)password;  // an unencrypted workbook opens with any password; encrypted ones are refused on load
  return EditableWorkbook(std::make_unique<Editor>(Model::load(path, limits)));
}

EditableWorkbook detail::editableWorkbookOver(std::unique_ptr<Model> model) {
  return EditableWorkbook(std::make_unique<Editor>(std::move(model)));
}

EditableWorkbook::EditableWorkbook(std::unique_ptr<Editor> editor) : editor_(std::move(editor)) {}
EditableWorkbook::EditableWorkbook(EditableWorkbook&&) noexcept = default;
EditableWorkbook& EditableWorkbook::operator=(EditableWorkbook&&) noexcept = default;
EditableWorkbook::~EditableWorkbook() = default;

const std::string& EditableWorkbook::path() const { return editor_->m.path; }
const std::vector<std::string>& EditableWorkbook::sheetNames() const { return editor_->m.sheetNames; }
bool EditableWorkbook::hasSheet(std::string_view sheet) const { return editor_->m.findSheet(sheet) >= 0; }

bool EditableWorkbook::resolveCell(std::string_view sheet, std::string_view address, CellRef& out) const {
  const int index = editor_->m.findSheet(sheet);
  return index >= 0 && editor_->resolve(static_cast<std::size_t>(index), address, out);
}

bool EditableWorkbook::hasName(std::string_view sheet, std::string_view definedName) const {
  CellRef ref;
  if (parseCellRef(definedName, ref)) return false;
  return resolveCell(sheet, definedName, ref);
}

void EditableWorkbook::setCellText(std::string_view sheet, std::string_view address, std::string_view text,
                                   bool quotePrefix) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const CellRef ref = e.resolveOrFail(index, address);
  SheetDoc& sd = e.indexedSheet(index);
  pugi::xml_node cell = e.findCell(sd, ref);
  if (!cell && text.empty() && !quotePrefix) return;  // nothing there, nothing to store
  if (!cell) cell = e.cellForWrite(sd, ref);
  e.clearValue(cell);

  const std::uint32_t current = e.styleOf(cell);
  std::uint32_t style = current;
  if (quotePrefix) {
    e.loadStyles();
    const auto base = e.styles.baseOf.find(current);
    style = e.quotedStyle(base == e.styles.baseOf.end() ? current : base->second);
  } else if (const auto base = e.styles.baseOf.find(current); base != e.styles.baseOf.end()) {
    style = base->second;  // the mark this editor added goes with the text that wanted it
  }
  if (style != current) {
    if (pugi::xml_attribute s = cell.attribute("s")) s.set_value(style);
    else cell.append_attribute("s") = style;
  }

  if (!text.empty()) {
    cell.append_attribute("t") = "inlineStr";
    pugi::xml_node ext = child(cell, "extLst");
    const std::string isName = sd.prefix + "is";
    pugi::xml_node is = ext ? cell.insert_child_before(isName.c_str(), ext) : cell.append_child(isName.c_str());
    setText(is, sd.prefix, text);
  }
  sd.dirty = true;
}

std::string EditableWorkbook::cellText(std::string_view sheet, std::string_view address) const {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const CellRef ref = e.resolveOrFail(index, address);
  pugi::xml_node cell = e.findCell(e.indexedSheet(index), ref);
  return cell ? e.valueText(cell) : std::string();
}

void EditableWorkbook::setSuperscript(std::string_view sheet, std::string_view address, int start, int length) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const CellRef ref = e.resolveOrFail(index, address);
  SheetDoc& sd = e.indexedSheet(index);
  pugi::xml_node cell = e.findCell(sd, ref);
  if (!cell || length <= 0) return;
  pugi::xml_node item = e.stringItem(cell);
  if (!item) return;  // no string: a number or an empty cell has no characters to raise

  // The text with one flag per character: raised before, or inside the new range. A
  // character of two UTF-16 units is raised when the range touches either of them.
  std::string text;
  std::vector<bool> raisedBefore;
  for (const Piece& p : piecesOf(item)) {
    raisedBefore.insert(raisedBefore.end(), splitChars(p.text).size(), p.raised);
    text += p.text;
  }
  const long long first = start, last = static_cast<long long>(start) + length - 1;
  std::vector<TextChar> chars = splitChars(text);
  std::vector<bool> raised(chars.size());
  long long position = 1;
  bool changed = false;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const long long end = position + chars[i].units - 1;
    const bool inRange = end >= first && position <= last;
    raised[i] = (i < raisedBefore.size() && raisedBefore[i]) || inRange;
    if (raised[i] && !(i < raisedBefore.size() && raisedBefore[i])) changed = true;
    position = end + 1;
  }
  if (!changed) return;

  pugi::xml_node font = e.fontOfStyle(e.styleOf(cell));
  e.clearValue(cell);
  cell.append_attribute("t") = "inlineStr";
  pugi::xml_node ext = child(cell, "extLst");
  const std::string isName = sd.prefix + "is";
  pugi::xml_node is = ext ? cell.insert_child_before(isName.c_str(), ext) : cell.append_child(isName.c_str());
  std::size_t offset = 0;  // byte offset of chars[i] in text
  for (std::size_t i = 0; i < chars.size();) {
    std::size_t j = i;
    std::size_t end = offset;
    while (j < chars.size() && raised[j] == raised[i]) end += chars[j++].bytes.size();
    pugi::xml_node r = is.append_child((sd.prefix + "r").c_str());
    appendRunProperties(r, sd.prefix, font, raised[i]);
    setText(r, sd.prefix, text, offset, end);
    offset = end;
    i = j;
  }
  sd.dirty = true;
}

std::vector<int> EditableWorkbook::superscriptPositions(std::string_view sheet, std::string_view address) const {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const CellRef ref = e.resolveOrFail(index, address);
  pugi::xml_node cell = e.findCell(e.indexedSheet(index), ref);
  std::vector<int> out;
  if (!cell) return out;
  pugi::xml_node item = e.stringItem(cell);
  int position = 1;
  for (const Piece& p : piecesOf(item)) {
    const int units = static_cast<int>(utf16Length(p.text));
    for (int k = 0; k < units; ++k, ++position) {
      if (p.raised) out.push_back(position);
    }
  }
  return out;
}

void EditableWorkbook::selectSheet(std::string_view sheet) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  pugi::xml_node node = e.m.sheets[index].node;
  if (!Editor::isVisible(node)) e.fail("非表示の" + e.sheetLabel(index) + "は選択できません。");
  const int position = e.positionOf(node);
  for (pugi::xml_node view : e.workbookViews(true)) {
    if (pugi::xml_attribute a = view.attribute("activeTab")) a.set_value(position);
    else if (position != 0) view.append_attribute("activeTab") = position;
    // The tab must be in sight on the tab bar.
    std::uint32_t firstSheet = 0;
    if (pugi::xml_attribute f = view.attribute("firstSheet");
        f && parseUnsigned(f.value(), firstSheet) && static_cast<int>(firstSheet) > position) {
      f.set_value(position);
    }
  }
  e.workbookDirty = true;
}

void EditableWorkbook::selectCell(std::string_view sheet, std::string_view address) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const std::string ref = formatCellRef(e.resolveOrFail(index, address));
  SheetDoc& sd = e.sheetDoc(index);
  pugi::xml_node views = child(sd.root, "sheetViews");
  if (!views) {
    views = insertInOrder(sd.root, "sheetViews", kWorksheetOrder);
    views.append_child((sd.prefix + "sheetView").c_str()).append_attribute("workbookViewId") = "0";
  }
  for (pugi::xml_node view = views.first_child(); view; view = view.next_sibling()) {
    if (view.type() != pugi::node_element || localName(view.name()) != "sheetView") continue;
    for (pugi::xml_node s = child(view, "selection"); s; s = child(view, "selection")) view.remove_child(s);
    pugi::xml_node selection = insertInOrder(view, "selection", {"pane", "selection", "pivotSelection", "extLst"});
    if (const pugi::xml_attribute pane = child(view, "pane").attribute("activePane")) {
      selection.append_attribute("pane") = pane.value();
    }
    selection.append_attribute("activeCell") = ref.c_str();
    selection.append_attribute("sqref") = ref.c_str();
  }
  sd.dirty = true;
}

}  // namespace tovakin::platform::xlsx
