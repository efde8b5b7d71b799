#pragma once
// An in-memory report workbook for tests and benchmarks: sheets in order, cells holding texts,
// quote-prefix marks and raised character ranges, defined names local to a sheet or
// workbook-wide, and the sequence of calls made on it. Behaves like the real workbook where
// the writer can tell (errors for unknown sheets and addresses, renames onto existing names,
// names that follow a rename); saveAs replaces the file at the path with a plain-text dump of
// the cells, aside and renamed like the real workbook.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/cell_ref.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "report/cell_conventions.h"
#include "report/report_book.h"
#include "report/report_slots.h"
#include "report/sheet_plan.h"

namespace tovakin::testing {
using namespace tovakin::report;

class RecordingReportBook final : public report::ReportBook {
 public:
  struct Cell {
    std::string text;
    bool quotePrefix = false;
    std::set<int> raised;  // 1-based UTF-16 positions shown as superscript
    bool written = false;  // written by the writer (not only by the template)
  };
  struct Sheet {
    std::string name;
    std::map<std::string, Cell> cells;               // key: normalised A1 reference
    std::map<std::string, std::string> localNames;   // name -> A1 reference on this sheet
    std::string activeCell = "A1";
  };
  struct GlobalName {
    std::string sheet;
    std::string cell;
  };

  RecordingReportBook() = default;
  explicit RecordingReportBook(const std::vector<std::string>& sheets) {
    for (const auto& s : sheets) addSheet(s);
  }

  // --- building the "template" ------------------------------------------------------------
  void addSheet(const std::string& name) { sheets_.push_back(Sheet{name, {}, {}, "A1"}); }
  void addLocalName(const std::string& sheet, const std::string& name, const std::string& cell) {
    sheetRef(sheet).localNames[name] = normalise(cell);
  }
  void addGlobalName(const std::string& name, const std::string& sheet, const std::string& cell) {
    globalNames_[name] = GlobalName{sheet, normalise(cell)};
  }
  void setTemplateText(const std::string& sheet, const std::string& address, const std::string& text) {
    Cell& c = sheetRef(sheet).cells[resolve(sheet, address)];
    c.text = text;
  }

  // --- failure injection ------------------------------------------------------------------
  // Any call whose log line starts with this text raises error 1004 (once per matching call).
  std::optional<std::string> failOn;
  int failNumber = err::kApplication;

  // --- inspection -------------------------------------------------------------------------
  std::vector<std::string> log;  // "write 設計条件!C1=１．設計条件", "delete Heの計算2", ...
  std::string activeSheet;
  std::string title;
  std::vector<std::string> savedPaths;

  const Sheet* findSheet(const std::string& name) const {
    for (const auto& s : sheets_)
      if (s.name == name) return &s;
    return nullptr;
  }
  // The cell at an A1 reference or defined name; nullptr when never set.
  const Cell* cell(const std::string& sheet, const std::string& address) const {
    const Sheet* s = findSheet(sheet);
    if (!s) return nullptr;
    auto it = s->cells.find(resolve(sheet, address));
    return it == s->cells.end() ? nullptr : &it->second;
  }
  std::string text(const std::string& sheet, const std::string& address) const {
    const Cell* c = cell(sheet, address);
    return c ? c->text : std::string();
  }
  bool written(const std::string& sheet, const std::string& address) const {
    const Cell* c = cell(sheet, address);
    return c && c->written;
  }
  // Every (sheet, address as the writer gave it) that received a writeCell, in order.
  std::vector<std::pair<std::string, std::string>> writes;

  // Only the log lines of deletes and renames, in order.
  std::vector<std::string> structureLog() const {
    std::vector<std::string> out;
    for (const auto& l : log)
      if (l.rfind("delete ", 0) == 0 || l.rfind("rename ", 0) == 0) out.push_back(l);
    return out;
  }

  // --- ReportBook -------------------------------------------------------------------------
  std::vector<std::string> sheetNames() const override {
    std::vector<std::string> out;
    for (const auto& s : sheets_) out.push_back(s.name);
    return out;
  }
  bool hasSheet(const std::string& sheet) const override { return findSheet(sheet) != nullptr; }
  bool hasName(const std::string& sheet, const std::string& definedName) const override {
    const Sheet* s = findSheet(sheet);
    if (!s) return false;
    if (s->localNames.count(definedName)) return true;
    auto it = globalNames_.find(definedName);
    return it != globalNames_.end() && it->second.sheet == sheet;
  }
  void writeCell(const std::string& sheet, const std::string& address, const std::string& text) override {
    record("write " + sheet + "!" + address + "=" + text);
    Sheet& s = sheetRef(sheet);
    Cell& c = s.cells[resolveOrThrow(sheet, address)];
    c.quotePrefix = !text.empty() && text[0] == '\'';
    c.text = c.quotePrefix ? text.substr(1) : text;
    c.raised.clear();
    c.written = true;
    writes.emplace_back(sheet, address);
  }
  std::string cellText(const std::string& sheet, const std::string& address) const override {
    const Sheet& s = sheetRefConst(sheet);
    auto it = s.cells.find(resolveOrThrow(sheet, address));
    return it == s.cells.end() ? std::string() : it->second.text;
  }
  void setSuperscript(const std::string& sheet, const std::string& address, int start, int length) override {
    record("superscript " + sheet + "!" + address + " " + std::to_string(start) + "," + std::to_string(length));
    Sheet& s = sheetRef(sheet);
    Cell& c = s.cells[resolveOrThrow(sheet, address)];
    const int units = static_cast<int>(report::utf16Units(c.text));
    for (int p = std::max(start, 1); p < start + length && p <= units; ++p) c.raised.insert(p);
  }
  void selectSheet(const std::string& sheet) override {
    record("select " + sheet);
    sheetRef(sheet);
    activeSheet = sheet;
  }
  void selectCell(const std::string& sheet, const std::string& address) override {
    record("selectCell " + sheet + "!" + address);
    sheetRef(sheet).activeCell = resolveOrThrow(sheet, address);
  }
  void deleteSheet(const std::string& sheet) override {
    record("delete " + sheet);
    sheetRef(sheet);
    if (sheets_.size() == 1) raiseError(err::kApplication, "最後のシートは削除できません。");
    sheets_.erase(std::remove_if(sheets_.begin(), sheets_.end(), [&](const Sheet& s) { return s.name == sheet; }),
                  sheets_.end());
    for (auto it = globalNames_.begin(); it != globalNames_.end();)
      it = it->second.sheet == sheet ? globalNames_.erase(it) : std::next(it);
    if (activeSheet == sheet) activeSheet = sheets_.front().name;
  }
  void renameSheet(const std::string& from, const std::string& to) override {
    record("rename " + from + ">" + to);
    Sheet& s = sheetRef(from);
    if (from != to && findSheet(to)) raiseError(err::kApplication, "シート名 '" + to + "' は既に使われています。");
    s.name = to;
    for (auto& [n, g] : globalNames_)
      if (g.sheet == from) g.sheet = to;
    if (activeSheet == from) activeSheet = to;
  }
  void setTitle(const std::string& text) override {
    record("title " + text);
    title = text;
  }
  void saveAs(const std::string& path) override {
    record("saveAs " + path);
    std::string dump;
    for (const auto& s : sheets_) {
      dump += "[" + s.name + "]\n";
      for (const auto& [a, c] : s.cells) dump += a + "=" + (c.quotePrefix ? "'" : "") + c.text + "\n";
    }
    if (WriteResult written = writeFileAtomically(path, dump); !written) raiseWriteError(written, path);
    savedPaths.push_back(path);
  }

  // Upper-case A1 reference without "$" when the text is one, else nullopt.
  static std::optional<std::string> a1(const std::string& address) {
    xlsx::CellRef ref;
    if (!report::isCellReference(address) || !xlsx::parseCellRef(address, ref)) return std::nullopt;
    return xlsx::formatCellRef(ref);
  }

 private:
  static std::string normalise(const std::string& cell) {
    auto r = a1(cell);
    return r ? *r : cell;
  }
  void record(const std::string& line) {
    log.push_back(line);
    if (failOn && line.rfind(*failOn, 0) == 0) raiseError(failNumber, "injected failure: " + line);
  }
  Sheet& sheetRef(const std::string& name) {
    for (auto& s : sheets_)
      if (s.name == name) return s;
    raiseError(err::kOutOfRange);
  }
  const Sheet& sheetRefConst(const std::string& name) const {
    const Sheet* s = findSheet(name);
    if (!s) raiseError(err::kOutOfRange);
    return *s;
  }
  // The A1 key of an address: a reference itself, or the cell a defined name stands for.
  std::string resolve(const std::string& sheet, const std::string& address) const {
    if (auto r = a1(address)) return *r;
    if (const Sheet* s = findSheet(sheet)) {
      auto it = s->localNames.find(address);
      if (it != s->localNames.end()) return it->second;
    }
    auto g = globalNames_.find(address);
    if (g != globalNames_.end() && g->second.sheet == sheet) return g->second.cell;
    return "?" + address;
  }
  std::string resolveOrThrow(const std::string& sheet, const std::string& address) const {
    sheetRefConst(sheet);
    std::string key = resolve(sheet, address);
    if (key.empty() || key[0] == '?')
      raiseError(err::kApplication, "シート '" + sheet + "' にセル '" + address + "' がありません。");
    return key;
  }

  std::vector<Sheet> sheets_;
  std::map<std::string, GlobalName> globalNames_;
};

// A recording book laid out like the shipped template: the 30 sheets in order and every defined
// name the writers use, local to its sheet, each on a cell of its own (column AZ downwards).
inline void fillLikeTemplate(RecordingReportBook& book) {
  for (auto name : report::sheetNameTable()) book.addSheet(std::string(name));
  int row = 1;
  for (const auto& [entry, name] : report::requiredDefinedNames())
    book.addLocalName(report::sheetName(entry), name, "AZ" + std::to_string(row++));
}

// A book that passes every call on to one that outlives it: the opener hands the writer one of
// these, so that the test still holds the recording after the writer has let go of its book.
class ForwardingReportBook final : public report::ReportBook {
 public:
  explicit ForwardingReportBook(report::ReportBook& target) : t_(target) {}
  std::vector<std::string> sheetNames() const override { return t_.sheetNames(); }
  bool hasSheet(const std::string& s) const override { return t_.hasSheet(s); }
  bool hasName(const std::string& s, const std::string& n) const override { return t_.hasName(s, n); }
  void writeCell(const std::string& s, const std::string& a, const std::string& x) override { t_.writeCell(s, a, x); }
  std::string cellText(const std::string& s, const std::string& a) const override { return t_.cellText(s, a); }
  void setSuperscript(const std::string& s, const std::string& a, int st, int l) override {
    t_.setSuperscript(s, a, st, l);
  }
  void selectSheet(const std::string& s) override { t_.selectSheet(s); }
  void selectCell(const std::string& s, const std::string& a) override { t_.selectCell(s, a); }
  void deleteSheet(const std::string& s) override { t_.deleteSheet(s); }
  void renameSheet(const std::string& f, const std::string& to) override { t_.renameSheet(f, to); }
  void setTitle(const std::string& t) override { t_.setTitle(t); }
  void saveAs(const std::string& p) override { t_.saveAs(p); }

 private:
  report::ReportBook& t_;
};

// Installs an opener that hands out the given book for the lifetime of the scope.
class RecordingOpenerScope final : public report::ReportTemplateOpener {
 public:
  explicit RecordingOpenerScope(report::ReportBook& book) : book_(book) {}
  RecordingOpenerScope(const RecordingOpenerScope&) = delete;
  RecordingOpenerScope& operator=(const RecordingOpenerScope&) = delete;

  std::unique_ptr<report::ReportBook> open(const std::string& path, const std::string& password) override {
    opened.emplace_back(path, password);
    return std::make_unique<ForwardingReportBook>(book_);
  }

  static inline std::vector<std::pair<std::string, std::string>> opened;  // (path, password)

 private:
  report::ReportBook& book_;
  Installed<report::ReportTemplateOpener> installed_ = report::installReportTemplateOpener(*this);
};

}  // namespace tovakin::testing
