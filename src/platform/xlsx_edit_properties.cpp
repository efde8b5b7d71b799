// The document properties of the saved package: the core properties (title, when the document
// was made and last changed) and the extended ones (the application that wrote it), each a part
// of its own that a package relationship leads to. A workbook without them, or with parts that
// cannot be read, gets new ones.
#include <array>
#include <chrono>
#include <cstdio>
#include <unordered_set>

#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx {

using namespace detail;

struct Editor::PropertiesKind {
  std::array<const char*, 2> relationships;  // kinds of the package relationship (nullptr: none)
  const char* relationshipType;              // for a new relationship
  const char* part;                          // for a new part
  const char* contentType;
  const char* root;      // local name of the root element
  const char* skeleton;  // a new part
};

namespace {

constexpr const char* kDcNs = "http://purl.org/dc/elements/1.1/";
constexpr const char* kDctermsNs = "http://purl.org/dc/terms/";
constexpr const char* kXsiNs = "http://www.w3.org/2001/XMLSchema-instance";

const Editor::PropertiesKind kCore{
    {"core-properties", nullptr},
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
    "docProps/core.xml",
    "application/vnd.openxmlformats-package.core-properties+xml",
    "coreProperties",
    "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
    "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>"};

const Editor::PropertiesKind kExtended{
    {"extended-properties", "extendedProperties"},
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties",
    "docProps/app.xml",
    "application/vnd.openxmlformats-officedocument.extended-properties+xml",
    "Properties",
    "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
    "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\"/>"};

// "2026-03-05T01:02:03Z": the W3C date and time form the core properties take, in UTC.
std::string w3cdtf(std::chrono::system_clock::time_point t) {
  using namespace std::chrono;
  const auto secs = floor<seconds>(t);
  const auto day = floor<days>(secs);
  const year_month_day ymd{day};
  const hh_mm_ss hms{secs - day};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return text;
}

// The namespace an element's prefix stands for, declared on it or an ancestor.
std::string_view namespaceOf(pugi::xml_node node) {
  const std::string prefix = prefixOf(node);
  const std::string declaration = prefix.empty() ? "xmlns" : "xmlns:" + prefix.substr(0, prefix.size() - 1);
  for (pugi::xml_node n = node; n; n = n.parent()) {
    if (const pugi::xml_attribute a = n.attribute(declaration.c_str())) return a.value();
  }
  return {};
}

// The prefix ("dc:") the root gives a namespace; declared, as `preferred` or a free variant of
// it, when the root has none.
std::string prefixFor(pugi::xml_node root, std::string_view ns, const std::string& preferred) {
  for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name = a.name();
    if (a.value() != ns) continue;
    if (name == "xmlns") return {};
    if (name.substr(0, 6) == "xmlns:") return std::string(name.substr(6)) + ":";
  }
  std::string prefix = preferred;
  for (int k = 1; root.attribute(("xmlns:" + prefix).c_str()); ++k) prefix = preferred + std::to_string(k);
  root.append_attribute(("xmlns:" + prefix).c_str()) = std::string(ns).c_str();
  return prefix + ":";
}

// Puts one element `name` with the text where the first of the root's elements of that local
// name and namespace stood (at the end when there was none); the others go. An empty text
// leaves none.
pugi::xml_node replaceElement(pugi::xml_node root, std::string_view ns, std::string_view local,
                              const std::string& name, const std::string& text) {
  pugi::xml_node first;
  for (pugi::xml_node c = root.first_child(); c;) {
    const pugi::xml_node next = c.next_sibling();
    if (c.type() == pugi::node_element && localName(c.name()) == local && namespaceOf(c) == ns) {
      if (first) root.remove_child(c);
      else first = c;
    }
    c = next;
  }
  if (text.empty()) {
    if (first) root.remove_child(first);
    return {};
  }
  pugi::xml_node element = first ? root.insert_child_before(name.c_str(), first) : root.append_child(name.c_str());
  if (first) root.remove_child(first);
  element.text().set(text.c_str());
  return element;
}

}  // namespace

void Editor::addPackageRel(std::string_view type, std::string_view target) {
  const std::string relsPart = relsPartOf("");
  auto doc = m.parsePart(relsPart);
  std::unordered_set<std::string> ids;
  for (const Relationship& rel : m.packageRels) ids.insert(rel.id);
  std::string id;
  for (int k = static_cast<int>(ids.size()) + 1;; ++k) {
    id = "rId" + std::to_string(k);
    if (!ids.count(id)) break;
  }
  pugi::xml_node root = doc->document_element();
  pugi::xml_node r = root.append_child((prefixOf(root) + "Relationship").c_str());
  r.append_attribute("Id") = id.c_str();
  r.append_attribute("Type") = std::string(type).c_str();
  r.append_attribute("Target") = std::string(target).c_str();
  m.package.put(relsPart, xmlBytes(*doc));
  Relationship rel;
  rel.id = id;
  rel.type = std::string(type);
  rel.target = std::string(target);
  m.packageRels.push_back(std::move(rel));
}

bool Editor::hasOverride(std::string_view part, std::string_view contentType) const {
  const std::string key = foldPartName(part);
  for (pugi::xml_node o = contentTypesXml->document_element().first_child(); o; o = o.next_sibling()) {
    if (o.type() == pugi::node_element && localName(o.name()) == "Override" &&
        foldPartName(o.attribute("PartName").value()) == key && o.attribute("ContentType").value() == contentType) {
      return true;
    }
  }
  return false;
}

pugi::xml_node Editor::propertiesRoot(const PropertiesKind& kind, std::unique_ptr<pugi::xml_document>& doc,
                                      std::string& part) {
  if (!doc) findOrMakeProperties(kind, doc, part);
  if (!hasOverride(part, kind.contentType)) addOverride(part, kind.contentType);
  return doc->document_element();
}

void Editor::findOrMakeProperties(const PropertiesKind& kind, std::unique_ptr<pugi::xml_document>& doc,
                                  std::string& part) {
  part.clear();
  for (const Relationship& rel : m.packageRels) {
    if (rel.external || rel.target.empty()) continue;
    for (const char* k : kind.relationships) {
      if (k && part.empty() && relationshipIs(rel, k)) part = rel.target;
    }
  }
  if (!part.empty()) {
    try {
      doc = m.parsePart(part, false);
    } catch (const Error&) {
      doc.reset();  // unreadable: made anew below, in the same part
    }
    if (doc && localName(doc->document_element().name()) != kind.root) doc.reset();
  } else {
    part = kind.part;
    addPackageRel(kind.relationshipType, part);
  }
  if (!doc) {
    doc = std::make_unique<pugi::xml_document>();
    doc->load_string(kind.skeleton);
  }
}

void EditableWorkbook::setDocumentProperties(const DocumentProperties& properties) {
  Editor& e = *editor_;
  pugi::xml_node app = e.propertiesRoot(kExtended, e.appPropertiesXml, e.appPropertiesPart);
  pugi::xml_node core = e.propertiesRoot(kCore, e.corePropertiesXml, e.corePropertiesPart);

  const std::string dc = prefixFor(core, kDcNs, "dc");
  const std::string dcterms = prefixFor(core, kDctermsNs, "dcterms");
  const std::string xsi = prefixFor(core, kXsiNs, "xsi");
  replaceElement(core, kDcNs, "title", dc + "title", xmlText(properties.title));
  for (const auto& [local, time] : {std::pair{"created", properties.created}, {"modified", properties.modified}}) {
    pugi::xml_node element = replaceElement(core, kDctermsNs, local, dcterms + local, w3cdtf(time));
    element.append_attribute((xsi + "type").c_str()) = (dcterms + "W3CDTF").c_str();
  }
  e.corePropertiesDirty = true;

  const std::string ns(namespaceOf(app));
  replaceElement(app, ns, "Application", prefixOf(app) + "Application", xmlText(properties.application));
  replaceElement(app, ns, "AppVersion", {}, {});
  e.appPropertiesDirty = true;
}

}  // namespace tovakin::platform::xlsx
