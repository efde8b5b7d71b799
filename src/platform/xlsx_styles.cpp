// Cell formats, merged ranges, rich-text runs and defined names, read from the parsed package.
#include "platform/xlsx_styles.h"

#include <charconv>
#include <map>
#include <unordered_map>

#include "platform/xlsx_model.h"

namespace tovakin::platform::xlsx {

namespace {

using detail::attribute;
using detail::child;
using detail::localName;

bool truthy(pugi::xml_node flag) {
  if (!flag) return false;
  const pugi::xml_attribute val = flag.attribute("val");
  if (!val) return true;
  const std::string_view v(val.value());
  return v == "1" || v == "true";
}

bool attributeTrue(pugi::xml_node node, const char* name) {
  const std::string_view v(node.attribute(name).value());
  return v == "1" || v == "true";
}

int toInt(const char* text, int fallback = 0) {
  int v = fallback;
  const std::string_view s(text);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() ? v : fallback;
}

double toDouble(const char* text) {
  double v = 0;
  const std::string_view s(text);
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

std::vector<pugi::xml_node> elements(pugi::xml_node parent, std::string_view local) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && localName(c.name()) == local) out.push_back(c);
  }
  return out;
}

struct RangeRef {
  CellRef first, last;
};

bool parseRangeRef(std::string_view text, RangeRef& r) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) {
    if (!parseCellRef(text, r.first)) return false;
    r.last = r.first;
    return true;
  }
  return parseCellRef(text.substr(0, colon), r.first) && parseCellRef(text.substr(colon + 1), r.last);
}

std::vector<TextRun> runsOf(pugi::xml_node item) {
  std::vector<TextRun> runs;
  for (pugi::xml_node r = item.first_child(); r; r = r.next_sibling()) {
    if (r.type() != pugi::node_element || localName(r.name()) != "r") continue;
    TextRun run;
    run.text = detail::decodeOoxmlEscapes(child(r, "t").text().get());
    const pugi::xml_node props = child(r, "rPr");
    const std::string_view align(child(props, "vertAlign").attribute("val").value());
    run.superscript = align == "superscript";
    run.subscript = align == "subscript";
    runs.push_back(std::move(run));
  }
  return runs;
}

}  // namespace

struct WorkbookLooks::Impl {
  std::unique_ptr<detail::Model> model;
  std::vector<pugi::xml_node> sharedItems;
  std::vector<pugi::xml_node> fonts, cellXfs, borders;

  struct SheetCells {
    std::unique_ptr<pugi::xml_document> doc;
    std::unordered_map<std::string, pugi::xml_node> cells;  // "C1" -> <c>
    std::vector<RangeRef> merges;
  };
  mutable std::map<std::size_t, SheetCells> sheets;

  const SheetCells& sheetCells(std::size_t index) const {
    auto found = sheets.find(index);
    if (found != sheets.end()) return found->second;
    SheetCells sc;
    const auto& info = model->sheets[index];
    sc.doc = model->parsePart(info.part, true, "シート「" + info.name + "」");
    const pugi::xml_node ws = sc.doc->document_element();
    for (pugi::xml_node row : elements(child(ws, "sheetData"), "row")) {
      for (pugi::xml_node c : elements(row, "c")) {
        CellRef ref;
        if (parseCellRef(c.attribute("r").value(), ref)) sc.cells.emplace(formatCellRef(ref), c);
      }
    }
    for (pugi::xml_node m : elements(child(ws, "mergeCells"), "mergeCell")) {
      RangeRef r;
      if (parseRangeRef(m.attribute("ref").value(), r)) sc.merges.push_back(r);
    }
    return sheets.emplace(index, std::move(sc)).first->second;
  }
};

WorkbookLooks::WorkbookLooks(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
WorkbookLooks::WorkbookLooks(WorkbookLooks&&) noexcept = default;
WorkbookLooks& WorkbookLooks::operator=(WorkbookLooks&&) noexcept = default;
WorkbookLooks::~WorkbookLooks() = default;

WorkbookLooks WorkbookLooks::open(const std::string& path, const Limits& limits) {
  auto impl = std::make_unique<Impl>();
  impl->model = detail::Model::load(path, limits);
  const detail::Model& m = *impl->model;
  if (m.sharedStringsXml) impl->sharedItems = elements(m.sharedStringsXml->document_element(), "si");
  if (m.stylesXml) {
    const pugi::xml_node root = m.stylesXml->document_element();
    impl->fonts = elements(child(root, "fonts"), "font");
    impl->cellXfs = elements(child(root, "cellXfs"), "xf");
    impl->borders = elements(child(root, "borders"), "border");
  }
  return WorkbookLooks(std::move(impl));
}

const std::vector<std::string>& WorkbookLooks::sheetNames() const { return impl_->model->sheetNames; }

CellLook WorkbookLooks::cell(std::string_view sheet, std::string_view a1) const {
  const detail::Model& m = *impl_->model;
  const int index = m.findSheet(sheet);
  if (index < 0) m.fail("シート「" + std::string(sheet) + "」がありません。");
  CellRef ref;
  if (!parseCellRef(a1, ref)) m.fail("セル番地「" + std::string(a1) + "」が正しくありません。");
  const auto& sc = impl_->sheetCells(static_cast<std::size_t>(index));

  CellLook look;
  for (const RangeRef& r : sc.merges) {
    if (ref.column >= r.first.column && ref.column <= r.last.column && ref.row >= r.first.row && ref.row <= r.last.row) {
      look.mergedRange = formatCellRef(r.first) + ":" + formatCellRef(r.last);
      look.mergeAnchor = ref.column == r.first.column && ref.row == r.first.row;
      look.columnSpan = static_cast<int>(r.last.column - r.first.column + 1);
      break;
    }
  }

  const auto found = sc.cells.find(formatCellRef(ref));
  if (found == sc.cells.end()) return look;
  const pugi::xml_node c = found->second;
  look.present = true;

  // Text.
  const std::string_view type(c.attribute("t").value());
  if (type == "s") {
    const int i = toInt(child(c, "v").text().get(), -1);
    if (i >= 0 && static_cast<std::size_t>(i) < impl_->sharedItems.size()) {
      look.text = m.sharedStrings[static_cast<std::size_t>(i)];
      look.runs = runsOf(impl_->sharedItems[static_cast<std::size_t>(i)]);
    }
  } else if (type == "inlineStr") {
    look.text = detail::stringItemText(child(c, "is"));
    look.runs = runsOf(child(c, "is"));
  } else if (type == "str") {
    look.text = child(c, "v").text().get();
  }

  // Format.
  const int s = toInt(c.attribute("s").value(), 0);
  look.styled = s > 0;
  if (s < 0 || static_cast<std::size_t>(s) >= impl_->cellXfs.size()) return look;
  const pugi::xml_node xf = impl_->cellXfs[static_cast<std::size_t>(s)];
  const pugi::xml_node align = child(xf, "alignment");
  look.horizontal = align.attribute("horizontal").value();
  look.vertical = align.attribute("vertical").value();
  look.wrapText = attributeTrue(align, "wrapText");
  look.shrinkToFit = attributeTrue(align, "shrinkToFit");
  look.indent = toInt(align.attribute("indent").value(), 0);

  const int fontId = toInt(xf.attribute("fontId").value(), 0);
  if (fontId >= 0 && static_cast<std::size_t>(fontId) < impl_->fonts.size()) {
    const pugi::xml_node font = impl_->fonts[static_cast<std::size_t>(fontId)];
    look.fontName = child(font, "name").attribute("val").value();
    look.fontSize = toDouble(child(font, "sz").attribute("val").value());
    look.bold = truthy(child(font, "b"));
  }
  const int borderId = toInt(xf.attribute("borderId").value(), 0);
  if (borderId >= 0 && static_cast<std::size_t>(borderId) < impl_->borders.size()) {
    const pugi::xml_node border = impl_->borders[static_cast<std::size_t>(borderId)];
    look.borderTop = child(border, "top").attribute("style").value();
    look.borderBottom = child(border, "bottom").attribute("style").value();
    look.borderLeft = child(border, "left").attribute("style").value();
    look.borderRight = child(border, "right").attribute("style").value();
  }
  return look;
}

std::vector<DefinedNameEntry> WorkbookLooks::definedNames() const {
  std::vector<DefinedNameEntry> out;
  const pugi::xml_node workbook = impl_->model->workbookXml->document_element();
  for (pugi::xml_node n : elements(child(workbook, "definedNames"), "definedName")) {
    DefinedNameEntry e;
    e.name = n.attribute("name").value();
    e.localSheet = n.attribute("localSheetId") ? toInt(n.attribute("localSheetId").value(), -1) : -1;
    e.refersTo = n.text().get();
    out.push_back(std::move(e));
  }
  return out;
}

bool parseSheetCell(std::string_view refersTo, std::string& sheet, CellRef& cell) {
  std::string_view s = refersTo;
  if (!s.empty() && s.front() == '=') s.remove_prefix(1);
  sheet.clear();
  std::size_t i = 0;
  if (!s.empty() && s.front() == '\'') {
    for (i = 1; i < s.size(); ++i) {
      if (s[i] == '\'') {
        if (i + 1 < s.size() && s[i + 1] == '\'') {
          sheet.push_back('\'');
          ++i;
          continue;
        }
        break;
      }
      sheet.push_back(s[i]);
    }
    if (i >= s.size()) return false;
    ++i;  // the closing quote
  } else {
    const auto bang = s.find('!');
    if (bang == std::string_view::npos) return false;
    sheet = std::string(s.substr(0, bang));
    i = bang;
  }
  if (sheet.empty() || i >= s.size() || s[i] != '!') return false;
  const std::string_view rest = s.substr(i + 1);
  if (rest.find_first_of(":,") != std::string_view::npos) return false;
  return parseCellRef(rest, cell);
}

}  // namespace tovakin::platform::xlsx
