// Writing the edited workbook: every sheet is marked so that the texts that look like numbers
// are not flagged, the shared strings are cut down to those the sheets still use, the parsed
// parts go back into the package, the package becomes a zip archive in memory, and the archive
// is written beside the target and renamed over it.
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx {

using namespace detail;

namespace {

struct SourceFree {
  void operator()(zip_source_t* s) const { zip_source_free(s); }
};

// The entries as a zip archive, [Content_Types].xml first as packages customarily have it.
std::string zipPackage(const Package& package, const std::string& target) {
  const auto failure = [&](const std::string& what) -> Error {
    return Error("ブック「" + target + "」を作成できません（" + what + "）。");
  };
  zip_error_t error;
  zip_error_init(&error);
  std::unique_ptr<zip_source_t, SourceFree> buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
  zip_error_fini(&error);
  if (!buffer) throw failure("メモリ");
  zip_source_keep(buffer.get());  // the archive releases its reference on close; ours stays
  zip_error_init(&error);
  zip_t* za = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (!za) {
    zip_source_free(buffer.get());  // the reference the archive would have taken over
    throw failure("zip");
  }

  std::vector<const PackageEntry*> order;
  for (const PackageEntry& e : package.entries())
    if (foldPartName(e.name) == "[content_types].xml") order.push_back(&e);
  for (const PackageEntry& e : package.entries())
    if (foldPartName(e.name) != "[content_types].xml") order.push_back(&e);
  for (const PackageEntry* e : order) {
    zip_source_t* src = zip_source_buffer(za, e->data.data(), e->data.size(), 0);
    if (!src || zip_file_add(za, e->name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
      if (src) zip_source_free(src);
      zip_discard(za);
      throw failure(e->name);
    }
  }
  if (zip_close(za) != 0) {
    const std::string what = zip_strerror(za);
    zip_discard(za);
    throw failure(what);
  }

  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(buffer.get(), &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(buffer.get()) != 0) {
    throw failure("zip");
  }
  std::string bytes(static_cast<std::size_t>(st.size), '\0');
  const zip_int64_t n = zip_source_read(buffer.get(), bytes.data(), bytes.size());
  zip_source_close(buffer.get());
  if (n < 0 || static_cast<std::size_t>(n) != bytes.size()) throw failure("zip");
  return bytes;
}

bool parseIndex(std::string_view s, std::uint32_t& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

// Calls f(row, cell) for every <c> of the sheet's data.
template <class F>
void forEachCell(const SheetDoc& sd, F&& f) {
  for (pugi::xml_node row = child(sd.root, "sheetData").first_child(); row; row = row.next_sibling()) {
    if (row.type() != pugi::node_element || localName(row.name()) != "row") continue;
    for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element && localName(c.name()) == "c") f(row, c);
    }
  }
}

// The area the sheet's cells cover, "A1" when it has none. A row or cell without a readable
// reference follows the one before it, as the reader places it.
std::string usedRange(const SheetDoc& sd) {
  bool any = false;
  CellRef lo, hi;
  pugi::xml_node lastRow;
  std::uint32_t rowNumber = 0, column = 0;
  forEachCell(sd, [&](pugi::xml_node row, pugi::xml_node c) {
    if (row != lastRow) {
      lastRow = row;
      CellRef r;
      rowNumber = parseCellRef("A" + std::string(row.attribute("r").value()), r) ? r.row : rowNumber + 1;
      column = ~0u;
    }
    CellRef ref;
    if (!parseCellRef(c.attribute("r").value(), ref)) {
      ref = {column + 1, rowNumber};
      if (ref.row > kMaxRows || ref.column >= kMaxColumns) return;
    }
    column = ref.column;
    lo = any ? CellRef{std::min(lo.column, ref.column), std::min(lo.row, ref.row)} : ref;
    hi = any ? CellRef{std::max(hi.column, ref.column), std::max(hi.row, ref.row)} : ref;
    any = true;
  });
  if (!any) return "A1";
  if (lo.column == hi.column && lo.row == hi.row) return formatCellRef(lo);
  return formatCellRef(lo) + ":" + formatCellRef(hi);
}

int worksheetRank(std::string_view local) {
  int k = 0;
  for (std::string_view o : kWorksheetOrder) {
    if (o == local) return k;
    ++k;
  }
  return -1;
}

// Every value is written as text, so the spreadsheet program would flag each one that looks like
// a number. One ignoredErrors element over the used range says that they are meant as text; it
// replaces any the sheet had. It goes right after the last element the schema puts before it, so
// that extension wrappers (mc:AlternateContent around controls and OLE objects) stay after it.
void markNumbersStoredAsText(SheetDoc& sd) {
  for (pugi::xml_node old = child(sd.root, "ignoredErrors"); old; old = child(sd.root, "ignoredErrors"))
    sd.root.remove_child(old);
  const int rank = worksheetRank("ignoredErrors");
  pugi::xml_node before;
  for (pugi::xml_node c = sd.root.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const int r = worksheetRank(localName(c.name()));
    if (r >= 0 && r < rank) before = c;
  }
  const std::string name = sd.prefix + "ignoredErrors";
  pugi::xml_node ignored = before ? sd.root.insert_child_after(name.c_str(), before)
                                  : insertInOrder(sd.root, "ignoredErrors", kWorksheetOrder);
  pugi::xml_node error = ignored.append_child((sd.prefix + "ignoredError").c_str());
  error.append_attribute("sqref") = usedRange(sd).c_str();
  error.append_attribute("numberStoredAsText") = "1";
  sd.dirty = true;
}

}  // namespace

bool Editor::loadAllSheets() {
  bool all = true;
  for (std::size_t i = 0; i < m.sheets.size(); ++i) {
    try {
      sheetDoc(i);
    } catch (const Error&) {
      all = false;  // a sheet that cannot be read travels as it is
    }
  }
  return all;
}

bool Editor::cellsOnlyInWorksheets() const {
  // Macro sheets hold cells too, and this editor never reads them.
  std::unordered_map<std::string_view, const Relationship*> byId;
  for (const Relationship& rel : m.workbookRels) byId.emplace(rel.id, &rel);
  for (pugi::xml_node node : allSheetNodes()) {
    const auto found = byId.find(attribute(node, "id", true).value());
    if (found == byId.end()) continue;
    const Relationship& rel = *found->second;
    if (!relationshipIs(rel, "worksheet") && !relationshipIs(rel, "chartsheet") && !relationshipIs(rel, "dialogsheet"))
      return false;
  }
  return true;
}

void Editor::rebuildSharedStrings() {
  // The items the sheets still reference, in their order, numbered anew; the cells follow.
  loadSharedItems();
  std::vector<std::uint64_t> uses(sharedItems.size(), 0);
  std::vector<std::pair<pugi::xml_node, std::uint32_t>> references;  // <v>, old index
  for (auto& entry : sheetDocs) {
    SheetDoc& sd = *entry.second;  // a named reference: a structured binding is not captured everywhere
    forEachCell(sd, [&](pugi::xml_node, pugi::xml_node c) {
      if (std::string_view(c.attribute("t").value()) != "s") return;
      pugi::xml_node v = child(c, "v");
      std::uint32_t index = 0;
      if (!parseIndex(v.text().get(), index) || index >= sharedItems.size()) return;  // shown empty; left so
      ++uses[index];
      references.emplace_back(v, index);
      sd.dirty = true;
    });
  }
  pugi::xml_node sst = m.sharedStringsXml->document_element();
  std::vector<std::uint32_t> renumbered(sharedItems.size(), 0);
  std::vector<pugi::xml_node> kept;
  std::vector<std::string> keptTexts;
  std::uint64_t count = 0;
  for (std::size_t i = 0; i < sharedItems.size(); ++i) {
    if (uses[i] == 0) {
      sst.remove_child(sharedItems[i]);
      continue;
    }
    renumbered[i] = static_cast<std::uint32_t>(kept.size());
    kept.push_back(sharedItems[i]);
    if (i < m.sharedStrings.size()) keptTexts.push_back(m.sharedStrings[i]);
    count += uses[i];
  }
  for (auto& [v, index] : references) {
    if (renumbered[index] != index) v.text().set(renumbered[index]);
  }
  sharedItems = std::move(kept);
  if (keptTexts.size() == sharedItems.size()) m.sharedStrings = std::move(keptTexts);
  for (const char* name : {"count", "uniqueCount"}) {
    if (!sst.attribute(name)) sst.append_attribute(name);
  }
  sst.attribute("count").set_value(static_cast<unsigned long long>(count));
  sst.attribute("uniqueCount").set_value(static_cast<unsigned long long>(sharedItems.size()));
  m.package.put(m.sharedStringsPart, xmlBytes(*m.sharedStringsXml));
  sharedStringsTouched = false;
}

std::string EditableWorkbook::serialize() {
  Editor& e = *editor_;
  e.normaliseTabSelection();
  e.removeCalcChain();

  const bool allSheetsRead = e.loadAllSheets();
  for (auto& [key, sd] : e.sheetDocs) markNumbersStoredAsText(*sd);
  if (e.m.sharedStringsXml && allSheetsRead && e.cellsOnlyInWorksheets()) {
    e.rebuildSharedStrings();
  } else if (e.sharedStringsTouched && e.m.sharedStringsXml) {
    // Without every sheet the references cannot be counted; the total count is optional, and
    // the number of distinct strings stays right.
    e.m.sharedStringsXml->document_element().remove_attribute("count");
    e.m.package.put(e.m.sharedStringsPart, xmlBytes(*e.m.sharedStringsXml));
    e.sharedStringsTouched = false;
  }

  for (auto& [key, sd] : e.sheetDocs) {
    if (!sd->dirty) continue;
    e.m.package.put(sd->part, xmlBytes(*sd->doc));
    sd->dirty = false;
  }
  if (e.stylesDirty && e.m.stylesXml) {
    e.m.package.put(e.m.stylesPart, xmlBytes(*e.m.stylesXml));
    e.stylesDirty = false;
  }
  if (e.appPropertiesDirty && e.appPropertiesXml) {
    e.m.package.put(e.appPropertiesPart, xmlBytes(*e.appPropertiesXml));
    e.appPropertiesDirty = false;
  }
  if (e.corePropertiesDirty && e.corePropertiesXml) {
    e.m.package.put(e.corePropertiesPart, xmlBytes(*e.corePropertiesXml));
    e.corePropertiesDirty = false;
  }
  if (e.workbookDirty) {
    e.m.package.put(e.m.workbookPart, xmlBytes(*e.m.workbookXml));
    e.workbookDirty = false;
  }
  if (e.contentTypesDirty) {
    e.m.package.put("[Content_Types].xml", xmlBytes(*e.contentTypesXml));
    e.contentTypesDirty = false;
  }
  return zipPackage(e.m.package, e.m.path);
}

void EditableWorkbook::saveAs(const std::string& path) {
  const std::string bytes = serialize();
  if (!writeFileAtomically(path, bytes)) throw Error("ブックを保存できません。（" + path + "）");
}

}  // namespace tovakin::platform::xlsx
