#pragma once
// The in-memory model behind xlsx::Workbook: the zip package and its parsed workbook parts.
// This is the one place that knows the OOXML layout (part names, relationship types, element
// names); the public API in xlsx.h only talks about sheets and cells.
//
// Ownership: the parsed documents (workbook, shared strings, styles) are the authority for their
// parts once loaded; a writer edits them and serialises them back into the package before the
// package is written. Parts nobody parsed travel through unchanged as bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "platform/xlsx.h"

namespace tovakin::platform::xlsx::detail {

// ---- package: the zip entries, bytes in memory -------------------------------------------------

struct PackageEntry {
  std::string name;  // as stored in the archive (part name without the leading "/")
  std::string data;  // uncompressed bytes
};

class Package {
 public:
  // Reads every entry of the archive held in `bytes`, within the limits. `path` only names the
  // file in messages; nothing from the archive is ever used as a file name. Entries whose names
  // are no valid part names are left out (see droppedNames).
  static Package read(const std::string& bytes, const Limits& limits, const std::string& path);

  // The bytes of a part, looked up case-insensitively (ASCII) as OPC part names are; nullptr
  // when the package has no such part.
  const std::string* find(std::string_view partName) const;
  std::string* find(std::string_view partName);
  bool contains(std::string_view partName) const { return find(partName) != nullptr; }

  // Adds a part or replaces the bytes of an existing one (keeping its place in the archive).
  void put(std::string_view partName, std::string data);
  // Removes a part; false when there was none.
  bool erase(std::string_view partName);

  // Entries in archive order.
  const std::vector<PackageEntry>& entries() const { return entries_; }
  // Names of the entries left out at reading because they are no valid part names, as stored
  // in the archive; their bytes were never read.
  const std::vector<std::string>& droppedNames() const { return dropped_; }

 private:
  void reindex();
  std::vector<PackageEntry> entries_;
  std::vector<std::string> dropped_;
  std::unordered_map<std::string, std::size_t> index_;  // folded name -> position in entries_
};

// Folded form of a part name for comparisons: ASCII lower case, "\" as "/", no leading "/".
std::string foldPartName(std::string_view name);

// Whether a zip entry name is a valid part name (without its leading "/"): segments separated
// by "/", none of them empty, "." or ".." or ending in "."; no "\", no control characters,
// no escaped "/" or "\" ("%2F", "%5C").
bool validPartName(std::string_view name);

// Whether a part is a relationships part ("_rels/.rels", "xl/_rels/workbook.xml.rels"), and the
// part it belongs to ("" for the package itself).
bool isRelationshipsPart(std::string_view partName);
bool sourceOfRelationshipsPart(std::string_view relsPart, std::string& source);

// The relationships part that belongs to a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels",
// "" (the package itself) -> "_rels/.rels".
std::string relsPartOf(std::string_view partName);

// Resolves a relationship target against its source part. Absolute targets ("/xl/x.xml") start
// at the package root, relative ones ("worksheets/sheet1.xml", "../theme/theme1.xml") at the
// source part's folder. Percent escapes are decoded. Returns false for a target that leaves the
// package (".." above the root), is empty, or names a folder.
bool resolveTarget(std::string_view sourcePart, std::string_view target, std::string& out);

// ---- XML helpers -------------------------------------------------------------------------------

// Element or attribute name without its namespace prefix ("x:row" -> "row").
std::string_view localName(const char* name);
// First child element with the given local name (empty node when none).
pugi::xml_node child(pugi::xml_node parent, std::string_view local);
// Attribute by local name; an attribute with a prefix is only matched when `prefixed` is true
// ("r:id" is the relationship id, plain "id" would be something else).
pugi::xml_attribute attribute(pugi::xml_node node, std::string_view local, bool prefixed = false);

// An upper bound of the bytes pugixml (1.13, not compact) spends on the tree of `xml`: its
// copy of the bytes (twice, for a document it converts from UTF-16), 64 bytes for every node
// and 40 for every attribute the bytes can make. A scan, no parse: parts are checked with it
// before their trees are built.
std::uint64_t xmlTreeCostBound(std::string_view xml);

// Text of a string item (<si> of the shared strings, <is> of an inline string): the plain <t>
// and the <t> of every rich-text run <r>, in order; phonetic runs are left out. The OOXML
// escapes "_xHHHH_" are decoded.
std::string stringItemText(pugi::xml_node item);
// Decodes the "_xHHHH_" escapes of an OOXML string.
std::string decodeOoxmlEscapes(std::string_view text);

// ---- the cells of a worksheet -------------------------------------------------------------------

// One walk over the rows and cells of a worksheet's <sheetData>: the one reading of their
// numbering that the reader and the editor share. Blanks around a row number or a cell reference
// are dropped; a row without its number follows the previous row, a cell without its reference
// the previous cell of its row (the first one is in column A); a cell reference must lie in its
// row. A row number or a cell that comes twice is refused, since which of the two holds the
// value would be a guess. Every <c> counts against `maxCells`. `fail` raises xlsx::Error with
// the text that follows the sheet's name ("の行 3 が重複しています。").
struct SheetDataVisitor {
  virtual ~SheetDataVisitor() = default;
  // numbered: the element carries its number or reference (else the walk gave it one).
  virtual void row(pugi::xml_node row, std::uint32_t number, bool numbered) = 0;
  virtual void cell(pugi::xml_node cell, CellRef ref, bool numbered) = 0;
};
void walkSheetData(pugi::xml_node sheetData, std::uint64_t maxCells,
                   const std::function<void(const std::string&)>& fail, SheetDataVisitor& visitor);

// ---- relationships and content types -----------------------------------------------------------

struct Relationship {
  std::string id;
  std::string type;    // full relationship type URI
  std::string target;  // resolved part name, or the raw target when external
  bool external = false;
};

// Whether a relationship type is the given kind ("worksheet", "sharedStrings", ...): both the
// transitional and the strict namespaces end in "/" followed by the kind.
bool relationshipIs(const Relationship& rel, std::string_view kind);

struct ContentTypes {
  struct Default {
    std::string extension;
    std::string contentType;
  };
  struct Override {
    std::string partName;  // without the leading "/"
    std::string contentType;
  };
  std::vector<Default> defaults;
  std::vector<Override> overrides;
};

// ---- the workbook model ------------------------------------------------------------------------

struct SheetInfo {
  std::string name;     // as shown on the tab
  std::string relId;    // r:id in workbook.xml
  std::string part;     // resolved part name of the worksheet
  pugi::xml_node node;  // its <sheet> element in workbookXml
};

struct Model {
  std::string path;
  Limits limits;
  Package package;

  ContentTypes contentTypes;
  std::vector<Relationship> packageRels;  // _rels/.rels

  std::string workbookPart;  // usually "xl/workbook.xml"
  std::unique_ptr<pugi::xml_document> workbookXml;
  std::vector<Relationship> workbookRels;

  std::vector<SheetInfo> sheets;        // worksheets in workbook order
  std::vector<std::string> sheetNames;  // the same names, for sheetNames()

  std::string sharedStringsPart;  // "" when the workbook has none
  std::unique_ptr<pugi::xml_document> sharedStringsXml;
  std::vector<std::string> sharedStrings;  // plain text of each item

  std::string stylesPart;  // "" when the workbook has none
  std::unique_ptr<pugi::xml_document> stylesXml;

  // Reads the file and parses the workbook parts. Throws xlsx::Error.
  static std::unique_ptr<Model> load(const std::string& path, const Limits& limits);

  // The steps of load(), in their order; each fails with xlsx::Error.
  void readContentTypes();
  void readWorkbookPart();
  void readSheets();
  void readSharedStringsAndStyles();
  // Relationships parts are held to their bounds now, as a deletion parses them later.
  void checkRelationshipsParts() const;

  // Index into `sheets`, or -1. Sheet names compare case-insensitively for ASCII letters, as the
  // spreadsheet program does.
  int findSheet(std::string_view name) const;

  // The cells of one worksheet.
  std::vector<Row> readRows(std::size_t sheetIndex) const;

  // Parses a part of the package. Throws xlsx::Error naming the part (and `owner`, e.g. the
  // sheet it holds) when it is missing (nullptr when `required` is false), exceeds the limits
  // of its kind (checked before its tree is built) or is not well-formed XML.
  std::unique_ptr<pugi::xml_document> parsePart(std::string_view part, bool required = true,
                                                const std::string& owner = {}) const;
  std::vector<Relationship> parseRelationships(std::string_view sourcePart) const;
  // The limits for a part, by what the workbook uses it for, and their check: throws
  // xlsx::Error naming the part (`name`) when its bytes exceed them.
  const Limits::Part& partLimits(std::string_view part) const;
  void checkBounds(std::string_view part, const std::string& bytes, const std::string& name) const;

  // Throws xlsx::Error with the message and the file name.
  [[noreturn]] void fail(const std::string& message) const;

  // Refuses the workbook when an entry the package left out for its invalid name is one a
  // relationship targets, or a content types or relationships part.
  void refuseReferencedDroppedNames() const;
};

// ASCII case folding for sheet names: "Data" and "DATA" are one sheet; other letters are
// compared as they are.
std::string asciiLower(std::string_view text);
bool equalsFolded(std::string_view a, std::string_view b);

}  // namespace tovakin::platform::xlsx::detail
