// Deleting and renaming sheets, and the package bookkeeping that goes with it: relationships,
// content types, parts only a deleted sheet used, defined names, the workbook views and the
// sheet titles of the document properties.
#include <algorithm>
#include <charconv>
#include <deque>
#include <unordered_set>

#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx {

using namespace detail;

namespace {

int parseInt(std::string_view s, int fallback) {
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() ? value : fallback;
}

void setIntAttribute(pugi::xml_node node, const char* name, int value, int defaultValue) {
  if (pugi::xml_attribute a = node.attribute(name)) a.set_value(value);
  else if (value != defaultValue) node.append_attribute(name) = value;
}

std::vector<pugi::xml_node> elementChildren(pugi::xml_node parent, std::string_view local) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && (local.empty() || localName(c.name()) == local)) out.push_back(c);
  }
  return out;
}

}  // namespace

// ---- content types and relationships -----------------------------------------------------------

void Editor::removeOverride(std::string_view part) {
  const std::string key = foldPartName(part);
  pugi::xml_node types = contentTypesXml->document_element();
  for (pugi::xml_node o : elementChildren(types, "Override")) {
    if (foldPartName(o.attribute("PartName").value()) == key) {
      types.remove_child(o);
      contentTypesDirty = true;
    }
  }
}

void Editor::addOverride(std::string_view part, std::string_view contentType) {
  removeOverride(part);
  pugi::xml_node types = contentTypesXml->document_element();
  pugi::xml_node o = types.append_child((prefixOf(types) + "Override").c_str());
  o.append_attribute("PartName") = ("/" + std::string(part)).c_str();
  o.append_attribute("ContentType") = std::string(contentType).c_str();
  contentTypesDirty = true;
}

void Editor::storeWorkbookRels() { m.package.put(relsPartOf(m.workbookPart), xmlBytes(*workbookRelsXml)); }

std::string Editor::addWorkbookRel(std::string_view kind, std::string_view target) {
  std::string base = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  for (const Relationship& rel : m.workbookRels) {
    if (relationshipIs(rel, "worksheet")) {
      base = rel.type.substr(0, rel.type.size() - std::string_view("worksheet").size());
      break;
    }
  }
  std::unordered_set<std::string> ids;
  for (const Relationship& rel : m.workbookRels) ids.insert(rel.id);
  std::string id;
  for (int k = static_cast<int>(ids.size()) + 1;; ++k) {
    id = "rId" + std::to_string(k);
    if (!ids.count(id)) break;
  }
  pugi::xml_node root = workbookRelsXml->document_element();
  pugi::xml_node r = root.append_child((prefixOf(root) + "Relationship").c_str());
  r.append_attribute("Id") = id.c_str();
  r.append_attribute("Type") = (base + std::string(kind)).c_str();
  r.append_attribute("Target") = std::string(target).c_str();
  Relationship rel;
  rel.id = id;
  rel.type = base + std::string(kind);
  resolveTarget(m.workbookPart, target, rel.target);
  m.workbookRels.push_back(std::move(rel));
  storeWorkbookRels();
  return id;
}

std::vector<std::string> Editor::partsOnlyReachedThrough(const std::string& part,
                                                         const std::string& droppedRelId) const {
  // The parts reachable from the sheet, less those still reachable from the package root once
  // the sheet's relationship is gone: the difference belonged to the sheet alone. Another sheet
  // or relationship that leads to the part keeps it, and all it leads to.
  const auto closure = [&](const std::string& start, bool dropping) {
    std::unordered_set<std::string> seen{foldPartName(start)};
    std::vector<std::string> found;
    std::deque<std::string> todo{start};
    const std::string workbook = foldPartName(m.workbookPart);
    while (!todo.empty()) {
      const std::string p = todo.front();
      todo.pop_front();
      if (!p.empty()) found.push_back(p);
      const bool fromWorkbook = dropping && foldPartName(p) == workbook;
      for (const Relationship& rel : m.parseRelationships(p)) {
        if (rel.external || rel.target.empty() || !m.package.contains(rel.target)) continue;
        if (fromWorkbook && rel.id == droppedRelId) continue;
        if (seen.insert(foldPartName(rel.target)).second) todo.push_back(rel.target);
      }
    }
    return std::make_pair(seen, found);
  };
  const auto kept = closure("", !droppedRelId.empty()).first;
  std::vector<std::string> own;
  if (kept.count(foldPartName(part))) return own;
  for (const std::string& p : closure(part, false).second)
    if (!kept.count(foldPartName(p))) own.push_back(p);
  return own;
}

bool Editor::relationshipUsedElsewhere(const std::string& relId, pugi::xml_node sheetNode) const {
  // Any relationship id in the workbook part ("r:id" of sheets, external references, pivot
  // caches, ...) other than on the sheet itself.
  struct Finder : pugi::xml_tree_walker {
    const std::string& id;
    pugi::xml_node skip;
    bool found = false;
    Finder(const std::string& i, pugi::xml_node s) : id(i), skip(s) {}
    bool for_each(pugi::xml_node& n) override {
      if (n == skip || n.type() != pugi::node_element) return true;
      if (attribute(n, "id", true).value() == id) found = true;
      return !found;
    }
  } finder(relId, sheetNode);
  m.workbookXml->traverse(finder);
  return finder.found;
}

// ---- document properties -----------------------------------------------------------------------

pugi::xml_document* Editor::appProperties() {
  if (appPropertiesXml) return appPropertiesXml.get();
  for (const Relationship& rel : m.packageRels) {
    if (!rel.external && !rel.target.empty() && relationshipIs(rel, "extended-properties")) {
      appPropertiesPart = rel.target;
      break;
    }
  }
  if (appPropertiesPart.empty()) return nullptr;
  try {
    appPropertiesXml = m.parsePart(appPropertiesPart, false);
  } catch (const Error&) {
    appPropertiesXml.reset();  // broken properties are left as they are
  }
  if (!appPropertiesXml) appPropertiesPart.clear();
  return appPropertiesXml.get();
}

void Editor::updateAppTitles(std::string_view sheet, const std::string* newName) {
  // TitlesOfParts lists the sheets (and names such as "Sheet!Print_Area") group by group;
  // HeadingPairs gives each group's title and count. Anything inconsistent is left alone.
  pugi::xml_document* doc = appProperties();
  if (!doc) return;
  pugi::xml_node root = doc->document_element();
  pugi::xml_node titles = child(child(root, "TitlesOfParts"), "vector");
  pugi::xml_node pairs = child(child(root, "HeadingPairs"), "vector");
  if (!titles || !pairs) return;
  std::vector<pugi::xml_node> items = elementChildren(titles, "");
  const std::vector<pugi::xml_node> variants = elementChildren(pairs, "variant");
  if (variants.size() % 2 != 0) return;
  std::vector<int> counts;
  std::size_t total = 0;
  for (std::size_t k = 0; k + 1 < variants.size(); k += 2) {
    const int n = parseInt(child(variants[k + 1], "i4").text().get(), -1);
    if (n < 0) return;
    counts.push_back(n);
    total += static_cast<std::size_t>(n);
  }
  if (total != items.size()) return;

  const std::string quoted = quoteSheetName(sheet) + "!";
  const std::string plain = std::string(sheet) + "!";
  const std::string apostrophed = "'" + std::string(sheet) + "'!";
  bool changed = false;
  std::size_t group = 0;
  int left = counts.empty() ? 0 : counts[0];
  for (pugi::xml_node item : items) {
    while (left == 0 && group + 1 < counts.size()) left = counts[++group];
    --left;
    const std::string title = item.text().get();
    std::string rest;
    bool ours = equalsFolded(title, sheet);
    for (const std::string* p : {&quoted, &plain, &apostrophed}) {
      if (!ours && title.size() > p->size() && equalsFolded(std::string_view(title).substr(0, p->size()), *p)) {
        ours = true;
        rest = title.substr(p->size());
      }
    }
    if (!ours) continue;
    changed = true;
    if (newName) {
      item.text().set((rest.empty() && equalsFolded(title, sheet) ? *newName : quoteSheetName(*newName) + "!" + rest)
                          .c_str());
    } else {
      titles.remove_child(item);
      --counts[group];
    }
  }
  if (!changed) return;
  if (!newName) {
    std::size_t remaining = 0;
    for (std::size_t g = 0; g < counts.size(); ++g) {
      if (counts[g] == 0) {
        pairs.remove_child(variants[2 * g]);
        pairs.remove_child(variants[2 * g + 1]);
        continue;
      }
      child(variants[2 * g + 1], "i4").text().set(counts[g]);
      remaining += 2;
    }
    titles.attribute("size").set_value(static_cast<unsigned>(elementChildren(titles, "").size()));
    pairs.attribute("size").set_value(static_cast<unsigned>(remaining));
  }
  appPropertiesDirty = true;
}

// ---- views -------------------------------------------------------------------------------------

void Editor::adjustViewsForDeletion(int position, int countBefore, const std::vector<pugi::xml_node>& after) {
  const int last = countBefore - 2;  // last index once the sheet is gone
  for (pugi::xml_node view : workbookViews(false)) {
    int active = parseInt(view.attribute("activeTab").value(), 0);
    if (position < active) --active;
    active = std::clamp(active, 0, last);
    // A hidden sheet cannot be the active one: the next visible sheet, else the one before.
    if (!isVisible(after[static_cast<std::size_t>(active)])) {
      int pick = -1;
      for (int k = active + 1; k <= last && pick < 0; ++k)
        if (isVisible(after[static_cast<std::size_t>(k)])) pick = k;
      for (int k = active - 1; k >= 0 && pick < 0; --k)
        if (isVisible(after[static_cast<std::size_t>(k)])) pick = k;
      if (pick >= 0) active = pick;
    }
    setIntAttribute(view, "activeTab", active, 0);

    int first = parseInt(view.attribute("firstSheet").value(), 0);
    if (position < first) --first;
    first = std::clamp(first, 0, active);
    setIntAttribute(view, "firstSheet", first, 0);
  }
}

void Editor::normaliseTabSelection() {
  // Exactly the active sheet is selected: the spreadsheet program opens on it.
  const auto nodes = allSheetNodes();
  if (nodes.empty()) return;
  const auto views = workbookViews(false);
  int active = views.empty() ? 0 : parseInt(views.front().attribute("activeTab").value(), 0);
  active = std::clamp(active, 0, static_cast<int>(nodes.size()) - 1);
  for (std::size_t i = 0; i < m.sheets.size(); ++i) {
    const bool wanted = positionOf(m.sheets[i].node) == active;
    const std::string key = foldPartName(m.sheets[i].part);
    if (!wanted && !sheetDocs.count(key)) {
      const std::string* bytes = m.package.find(m.sheets[i].part);
      if (!bytes || bytes->find("tabSelected") == std::string::npos) continue;
    }
    SheetDoc& sd = sheetDoc(i);
    pugi::xml_node sheetViews = child(sd.root, "sheetViews");
    if (!sheetViews && wanted) {
      sheetViews = insertInOrder(sd.root, "sheetViews", kWorksheetOrder);
      sheetViews.append_child((sd.prefix + "sheetView").c_str()).append_attribute("workbookViewId") = "0";
      sd.dirty = true;
    }
    for (pugi::xml_node view : elementChildren(sheetViews, "sheetView")) {
      pugi::xml_attribute a = view.attribute("tabSelected");
      const std::string_view v = a.value();
      const bool selected = v == "1" || v == "true";
      if (selected == wanted) continue;
      if (wanted) {
        if (a) a.set_value("1");
        else view.prepend_attribute("tabSelected") = "1";
      } else {
        view.remove_attribute(a);
      }
      sd.dirty = true;
    }
  }
}

void Editor::removeCalcChain() {
  // Formulas are never written, and a calculation chain naming cells that changed or went with
  // a deleted sheet makes the spreadsheet program repair the file: it goes, as it may.
  pugi::xml_node root = workbookRelsXml->document_element();
  bool removed = false;
  for (auto it = m.workbookRels.begin(); it != m.workbookRels.end();) {
    if (!relationshipIs(*it, "calcChain")) {
      ++it;
      continue;
    }
    for (pugi::xml_node r : elementChildren(root, "Relationship")) {
      if (it->id == r.attribute("Id").value()) root.remove_child(r);
    }
    if (!it->target.empty()) {
      m.package.erase(it->target);
      removeOverride(it->target);
    }
    it = m.workbookRels.erase(it);
    removed = true;
  }
  if (removed) storeWorkbookRels();
}

// ---- delete and rename -------------------------------------------------------------------------

void EditableWorkbook::deleteSheet(std::string_view sheet) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(sheet));
  const SheetInfo info = e.m.sheets[index];
  const std::vector<pugi::xml_node> nodes = e.allSheetNodes();
  const int position = e.positionOf(info.node);
  int visibleOthers = 0;
  for (pugi::xml_node n : nodes)
    if (n != info.node && Editor::isVisible(n)) ++visibleOthers;
  if (visibleOthers == 0) e.fail(e.sheetLabel(index) + "はブックの最後の表示シートなので削除できません。");

  // Everything the delete removes is worked out before anything changes: reading the
  // relationships of the parts can fail on a broken one, and a delete that fails must leave the
  // workbook as it was, the sheet listed and its node in place.
  const bool relationshipGoes = !e.relationshipUsedElsewhere(info.relId, info.node);
  std::vector<std::string> parts;
  try {
    parts = e.partsOnlyReachedThrough(info.part, relationshipGoes ? info.relId : std::string());
  } catch (const Error& error) {
    throw Error(e.sheetLabel(index) + "を削除できません。" + error.what());
  }
  bool partShared = false;
  for (std::size_t i = 0; i < e.m.sheets.size(); ++i)
    if (i != index && foldPartName(e.m.sheets[i].part) == foldPartName(info.part)) partShared = true;

  // Defined names on the sheet or referring to it go; those local to later sheets move up.
  if (pugi::xml_node names = e.definedNames()) {
    for (pugi::xml_node n : elementChildren(names, "definedName")) {
      pugi::xml_attribute local = n.attribute("localSheetId");
      const int id = local ? parseInt(local.value(), -1) : -1;
      if ((local && id == position) || formulaRefersTo(n.child_value(), info.name)) {
        names.remove_child(n);
      } else if (id > position) {
        local.set_value(id - 1);
      }
    }
    if (elementChildren(names, "").empty()) names.parent().remove_child(names);
  }

  std::vector<pugi::xml_node> after;
  for (pugi::xml_node n : nodes)
    if (n != info.node) after.push_back(n);
  e.adjustViewsForDeletion(position, static_cast<int>(nodes.size()), after);
  info.node.parent().remove_child(info.node);

  if (relationshipGoes) {
    pugi::xml_node rels = e.workbookRelsXml->document_element();
    for (pugi::xml_node r : elementChildren(rels, "Relationship")) {
      if (info.relId == r.attribute("Id").value()) rels.remove_child(r);
    }
    std::erase_if(e.m.workbookRels, [&](const Relationship& r) { return r.id == info.relId; });
    e.storeWorkbookRels();
  }
  for (const std::string& p : parts) {
    e.m.package.erase(p);
    e.m.package.erase(relsPartOf(p));
    e.removeOverride(p);
  }
  e.updateAppTitles(info.name, nullptr);

  if (!partShared) e.sheetDocs.erase(foldPartName(info.part));
  e.m.sheets.erase(e.m.sheets.begin() + static_cast<std::ptrdiff_t>(index));
  e.m.sheetNames.erase(e.m.sheetNames.begin() + static_cast<std::ptrdiff_t>(index));
  e.workbookDirty = true;
}

void EditableWorkbook::renameSheet(std::string_view from, std::string_view to) {
  Editor& e = *editor_;
  const auto index = static_cast<std::size_t>(e.sheetIndexOrFail(from));
  SheetInfo& info = e.m.sheets[index];
  if (info.name == to) return;
  if (const std::string problem = sheetNameProblem(to); !problem.empty()) e.fail(problem);
  for (pugi::xml_node n : e.allSheetNodes()) {
    if (n != info.node && equalsFolded(n.attribute("name").value(), to)) {
      e.fail("シート名「" + std::string(to) + "」は既に使われています。");
    }
  }
  const std::string old = info.name;
  const std::string name(to);
  info.node.attribute("name").set_value(name.c_str());
  info.name = name;
  e.m.sheetNames[index] = name;

  for (pugi::xml_node n : elementChildren(e.definedNames(), "definedName")) {
    const std::string formula = n.child_value();
    if (formulaRefersTo(formula, old)) n.text().set(renameSheetInFormula(formula, old, name).c_str());
  }
  e.updateAppTitles(old, &name);
  e.workbookDirty = true;
}

}  // namespace tovakin::platform::xlsx
