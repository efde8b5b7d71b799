// Loading a workbook: the file, its package, and the parts that describe the workbook.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "platform/utf8.h"
#include "platform/xlsx_model.h"

namespace tovakin::platform::xlsx::detail {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

// "_xHHHH_" at text[i]: the 16-bit unit, or -1.
long escapedUnit(std::string_view text, std::size_t i) {
  if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return -1;
  long value = 0;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    const char c = text[k];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return -1;
    value = value * 16 + d;
  }
  return value;
}

std::string readFile(const std::string& path, const Limits& limits) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (ec || !fs::exists(status)) throw Error("ブックが見つかりません。（" + path + "）");
  if (!fs::is_regular_file(status)) throw Error("ブックはファイルではありません。（" + path + "）");
  const auto size = fs::file_size(path, ec);
  if (ec) throw Error("ブックを読み込めません。（" + path + "）");
  if (size > limits.maxFileSize) throw Error("ブックが大きすぎます。（" + path + "）");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("ブックを読み込めません。（" + path + "）");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
    throw Error("ブックを読み込めません。（" + path + "）");
  }
  return bytes;
}

// A compound file (the container of the old binary format, and of password-encrypted Office
// Open XML workbooks) is no zip archive: say what it is instead of "not a workbook".
void refuseCompoundFile(const std::string& bytes, const std::string& path) {
  static constexpr char kMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  if (bytes.size() < 8 || bytes.compare(0, 8, kMagic, 8) != 0) return;
  // The encrypted package is a stream named "EncryptedPackage" (UTF-16 in the directory).
  static const std::string kStream("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
  if (bytes.find(kStream) != std::string::npos) {
    throw Error("パスワードで暗号化されたブックは開けません。暗号化を解除して保存し直して下さい。（" + path + "）");
  }
  throw Error("Excel 97-2003 形式のブックは開けません。Excel ブック (.xlsx) 形式で保存し直して下さい。（" + path + "）");
}

}  // namespace

// ---- XML helpers -------------------------------------------------------------------------------

std::string_view localName(const char* name) {
  std::string_view n(name);
  const auto colon = n.rfind(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

pugi::xml_node child(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && localName(c.name()) == local) return c;
  }
  return {};
}

pugi::xml_attribute attribute(pugi::xml_node node, std::string_view local, bool prefixed) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name(a.name());
    const bool hasPrefix = name.find(':') != std::string_view::npos;
    if (hasPrefix == prefixed && localName(a.name()) == local) {
      if (hasPrefix && name.substr(0, 6) == "xmlns:") continue;
      return a;
    }
  }
  return {};
}

std::string decodeOoxmlEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const long unit = escapedUnit(text, i);
    if (unit < 0) {
      out.push_back(text[i++]);
      continue;
    }
    i += 7;
    char32_t cp = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const long low = escapedUnit(text, i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
        i += 7;
      } else {
        cp = 0xFFFD;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      cp = 0xFFFD;
    }
    utf8::append(out, cp);
  }
  return out;
}

std::string stringItemText(pugi::xml_node item) {
  std::string text;
  for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const auto name = localName(c.name());
    if (name == "t") {
      text += c.text().get();
    } else if (name == "r") {
      for (pugi::xml_node t = c.first_child(); t; t = t.next_sibling()) {
        if (t.type() == pugi::node_element && localName(t.name()) == "t") text += t.text().get();
      }
    }
    // "rPh" (phonetic reading) and "phoneticPr" are not part of the cell's text.
  }
  return decodeOoxmlEscapes(text);
}

bool relationshipIs(const Relationship& rel, std::string_view kind) {
  const std::string_view type(rel.type);
  return type.size() > kind.size() && type.substr(type.size() - kind.size()) == kind &&
         type[type.size() - kind.size() - 1] == '/';
}

// Every element starts with "<" not followed by "/"; every text or CDATA node starts after a
// ">" not followed by "<" (or is the CDATA's "<"); every attribute has its "=". Overcounting (a
// "=" in text, a comment, a byte of a UTF-16 character) only makes the bound looser.
std::uint64_t xmlTreeCostBound(std::string_view xml) {
  std::uint64_t nodes = 2, attributes = 0;  // the document node and leading text
  const char* const end = xml.data() + xml.size();
  for (const char* p = xml.data(); p < end; ++p) {
    switch (*p) {
      case '<':
        if (p + 1 == end || p[1] != '/') ++nodes;
        break;
      case '>':
        if (p + 1 != end && p[1] != '<') ++nodes;
        break;
      case '=':
        ++attributes;
        break;
      default:
        break;
    }
  }
  return 2 * static_cast<std::uint64_t>(xml.size()) + 64 * nodes + 40 * attributes;
}

// ---- model -------------------------------------------------------------------------------------

void Model::fail(const std::string& message) const { throw Error(message + "（" + path + "）"); }

void Model::refuseReferencedDroppedNames() const {
  // The dropped entries something could still reach under their folded name ("/x" as "x",
  // "a\\b" as "a/b"); the others ("../x", "a//b") no target can name.
  std::unordered_map<std::string, const std::string*> reachable;
  for (const std::string& name : package.droppedNames()) {
    std::string key = foldPartName(name);
    if (validPartName(key) && !package.contains(key)) reachable.emplace(std::move(key), &name);
  }
  if (reachable.empty()) return;
  const auto refuse = [&](const std::string& name) { fail("ブックの部品名「" + name + "」が正しくありません。"); };
  // The content types and relationships parts are reached by their names alone.
  for (const auto& [key, name] : reachable) {
    if (key == "[content_types].xml" || isRelationshipsPart(key)) refuse(*name);
  }
  // Every relationship of the package.
  for (const PackageEntry& entry : package.entries()) {
    std::string source;
    if (!sourceOfRelationshipsPart(entry.name, source)) continue;
    for (const Relationship& rel : parseRelationships(source)) {
      if (rel.external || rel.target.empty()) continue;
      const auto found = reachable.find(foldPartName(rel.target));
      if (found != reachable.end()) refuse(*found->second);
    }
  }
}

std::unique_ptr<pugi::xml_document> Model::parsePart(std::string_view part, bool required,
                                                     const std::string& owner) const {
  const std::string name = owner.empty() ? "ブックの部品「" + std::string(part) + "」"
                                         : owner + "（" + std::string(part) + "）";
  const std::string* bytes = package.find(part);
  if (!bytes) {
    if (!required) return nullptr;
    fail(name + "がありません。");
  }
  checkBounds(part, *bytes, name);
  auto doc = std::make_unique<pugi::xml_document>();
  const pugi::xml_parse_result result = doc->load_buffer(bytes->data(), bytes->size(), kParseOptions);
  if (!result) {
    fail(name + "が壊れています（XML の誤り: " + result.description() + "）。");
  }
  if (!doc->document_element()) fail(name + "が空です。");
  return doc;
}

std::vector<Relationship> Model::parseRelationships(std::string_view sourcePart) const {
  std::vector<Relationship> rels;
  const std::string relsPart = relsPartOf(sourcePart);
  auto doc = parsePart(relsPart, false);
  if (!doc) return rels;
  const pugi::xml_node root = doc->document_element();
  if (localName(root.name()) != "Relationships") fail("ブックの部品「" + relsPart + "」が壊れています。");
  for (pugi::xml_node r = root.first_child(); r; r = r.next_sibling()) {
    if (r.type() != pugi::node_element || localName(r.name()) != "Relationship") continue;
    Relationship rel;
    rel.id = r.attribute("Id").value();
    rel.type = r.attribute("Type").value();
    rel.external = std::strcmp(r.attribute("TargetMode").value(), "External") == 0;
    const char* target = r.attribute("Target").value();
    if (rel.id.empty()) fail("ブックの部品「" + relsPart + "」が壊れています（Id がありません）。");
    if (rel.external) {
      rel.target = target;
    } else if (!resolveTarget(sourcePart, target, rel.target)) {
      // A target outside the package can never be a part of it; such a relationship is
      // kept without a target so that nothing follows it.
      rel.target.clear();
    }
    rels.push_back(std::move(rel));
  }
  return rels;
}

void Model::checkBounds(std::string_view part, const std::string& bytes, const std::string& name) const {
  const Limits::Part& bound = partLimits(part);
  if (bytes.size() > bound.maxSize) fail(name + "が大きすぎます。");
  if (xmlTreeCostBound(bytes) > bound.maxTree) fail(name + "の要素が多すぎます。");
}

const Limits::Part& Model::partLimits(std::string_view part) const {
  const std::string key = foldPartName(part);
  const auto is = [&](const std::string& other) { return !other.empty() && foldPartName(other) == key; };
  if (is(workbookPart)) return limits.workbookPart;
  if (is(sharedStringsPart)) return limits.sharedStringsPart;
  if (is(stylesPart)) return limits.stylesPart;
  if (isRelationshipsPart(key)) return limits.relsPart;
  for (const SheetInfo& sheet : sheets) {
    if (is(sheet.part)) return limits.sheetPart;
  }
  return limits.otherPart;
}

int Model::findSheet(std::string_view name) const {
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (equalsFolded(sheets[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::unique_ptr<Model> Model::load(const std::string& path, const Limits& limits) {
  auto model = std::make_unique<Model>();
  model->path = path;
  model->limits = limits;
  {
    const std::string bytes = readFile(path, limits);
    refuseCompoundFile(bytes, path);
    model->package = Package::read(bytes, limits, path);
  }
  model->refuseReferencedDroppedNames();
  model->readContentTypes();
  model->readWorkbookPart();
  model->readSheets();
  model->readSharedStringsAndStyles();
  model->checkRelationshipsParts();
  return model;
}

// Content types: every OOXML package has them; a zip without them is not a workbook.
void Model::readContentTypes() {
  auto doc = parsePart("[Content_Types].xml", false);
  if (!doc) fail("Excel ブック (.xlsx) の形式ではありません。");
  const pugi::xml_node root = doc->document_element();
  if (localName(root.name()) != "Types") fail("ブックの部品「[Content_Types].xml」が壊れています。");
  for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
    if (n.type() != pugi::node_element) continue;
    const auto name = localName(n.name());
    if (name == "Default") {
      contentTypes.defaults.push_back({n.attribute("Extension").value(), n.attribute("ContentType").value()});
    } else if (name == "Override") {
      contentTypes.overrides.push_back(
          {foldPartName(n.attribute("PartName").value()), n.attribute("ContentType").value()});
    }
  }
}

// The workbook part is the package's office document; a relationship id names one
// relationship, so that a sheet deleted by its id takes no other relationship along.
void Model::readWorkbookPart() {
  packageRels = parseRelationships("");
  for (const auto& rel : packageRels) {
    if (!rel.external && relationshipIs(rel, "officeDocument") && !rel.target.empty()) {
      workbookPart = rel.target;
      break;
    }
  }
  if (workbookPart.empty()) fail("Excel ブック (.xlsx) の形式ではありません（ブックの本体がありません）。");
  workbookXml = parsePart(workbookPart);
  const pugi::xml_node workbook = workbookXml->document_element();
  if (localName(workbook.name()) != "workbook") fail("Excel ブック (.xlsx) の形式ではありません。");
  workbookRels = parseRelationships(workbookPart);

  const auto refuseDuplicateIds = [&](const std::vector<Relationship>& rels, std::string_view source) {
    std::unordered_set<std::string_view> ids;
    for (const auto& rel : rels) {
      if (!ids.insert(rel.id).second) {
        fail("ブックの部品「" + relsPartOf(source) + "」が壊れています（Id「" + rel.id + "」が重複しています）。");
      }
    }
  };
  refuseDuplicateIds(packageRels, "");
  refuseDuplicateIds(workbookRels, workbookPart);
}

// The worksheets in workbook order, each with a relationship and a part of its own.
void Model::readSheets() {
  const pugi::xml_node workbook = workbookXml->document_element();
  // How many relationships of the package and of the workbook reach each part.
  std::unordered_map<std::string, int> reached;
  for (const auto* rels : {&packageRels, &workbookRels}) {
    for (const auto& rel : *rels) {
      if (!rel.external && !rel.target.empty()) ++reached[foldPartName(rel.target)];
    }
  }

  // Lookups by id and by name through hash tables: a hostile workbook may list very many.
  std::unordered_map<std::string_view, const Relationship*> relsById;
  for (const auto& rel : workbookRels) relsById.emplace(rel.id, &rel);
  std::unordered_set<std::string> foldedNames;
  // Each sheet has a relationship and a part of its own: deleting one sheet removes its
  // relationship and its part, which must not be another sheet's.
  std::unordered_map<std::string, std::string> sheetByRelId, sheetByPart;
  const auto refuseShared = [&](std::unordered_map<std::string, std::string>& users, std::string key,
                                const std::string& name, const std::string& part) {
    const auto [it, fresh] = users.emplace(std::move(key), name);
    if (!fresh) fail("シート「" + it->second + "」とシート「" + name + "」が同じ本体（" + part + "）を使っています。");
  };

  // Sheets in workbook order.
  const pugi::xml_node sheetList = child(workbook, "sheets");
  for (pugi::xml_node s = sheetList.first_child(); s; s = s.next_sibling()) {
    if (s.type() != pugi::node_element || localName(s.name()) != "sheet") continue;
    SheetInfo info;
    info.name = s.attribute("name").value();
    info.relId = attribute(s, "id", true).value();
    info.node = s;
    if (info.name.empty()) fail("ブックのシートに名前がありません。");
    const auto found = relsById.find(info.relId);
    const Relationship* rel = found == relsById.end() ? nullptr : found->second;
    if (!rel) fail("シート「" + info.name + "」の本体がありません。");
    refuseShared(sheetByRelId, info.relId, info.name, rel->target.empty() ? info.relId : rel->target);
    if (!relationshipIs(*rel, "worksheet")) continue;  // chart, dialog and macro sheets hold no cells
    if (rel->external || rel->target.empty() || !package.contains(rel->target)) {
      fail("シート「" + info.name + "」の本体がありません。");
    }
    refuseShared(sheetByPart, foldPartName(rel->target), info.name, rel->target);
    if (!foldedNames.insert(asciiLower(info.name)).second) fail("シート名「" + info.name + "」が重複しています。");
    info.part = rel->target;
    // With a part of its own for every sheet, there are fewer sheets than entries.
    sheetNames.push_back(info.name);
    sheets.push_back(std::move(info));
  }
  // Nor may another relationship of the package or the workbook reach a sheet's part, nor a
  // sheet's part be the content types or a relationships part.
  for (const SheetInfo& sheet : sheets) {
    const std::string key = foldPartName(sheet.part);
    if (reached[key] > 1 || isRelationshipsPart(key) || key == "[content_types].xml") {
      fail("シート「" + sheet.name + "」の本体（" + sheet.part + "）がブックのほかの部分からも参照されています。");
    }
  }
}

// Shared strings and styles: at most one each.
void Model::readSharedStringsAndStyles() {
  for (const auto& rel : workbookRels) {
    if (rel.external || rel.target.empty()) continue;
    if (sharedStringsPart.empty() && relationshipIs(rel, "sharedStrings")) {
      sharedStringsPart = rel.target;
    } else if (stylesPart.empty() && relationshipIs(rel, "styles")) {
      stylesPart = rel.target;
    }
  }
  if (!sharedStringsPart.empty()) {
    sharedStringsXml = parsePart(sharedStringsPart);
    const pugi::xml_node sst = sharedStringsXml->document_element();
    if (localName(sst.name()) != "sst") fail("ブックの部品「" + sharedStringsPart + "」が壊れています。");
    for (pugi::xml_node si = sst.first_child(); si; si = si.next_sibling()) {
      if (si.type() == pugi::node_element && localName(si.name()) == "si") {
        if (sharedStrings.size() >= limits.maxSharedStrings) {
          fail("ブックの部品「" + sharedStringsPart + "」の文字列が多すぎます。");
        }
        sharedStrings.push_back(stringItemText(si));
      }
    }
  }
  if (!stylesPart.empty()) {
    stylesXml = parsePart(stylesPart);
    if (localName(stylesXml->document_element().name()) != "styleSheet") {
      fail("ブックの部品「" + stylesPart + "」が壊れています。");
    }
  }
}

// Relationships parts are parsed later, when a sheet is deleted: they are held to their
  // bounds now, so that no deletion stops half-way on one. (A sheet is checked when it is read
  // or edited, before anything changes.)
void Model::checkRelationshipsParts() const {
  for (const PackageEntry& entry : package.entries()) {
    if (isRelationshipsPart(entry.name)) checkBounds(entry.name, entry.data, "ブックの部品「" + entry.name + "」");
  }
}

}  // namespace tovakin::platform::xlsx::detail
