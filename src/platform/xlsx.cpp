// Workbook API and the reading of worksheet cells.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "platform/xlsx_model.h"

namespace tovakin::platform::xlsx {

namespace {
std::string_view trimmed(std::string_view s) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool parseNumber(std::string_view s, double& out) {
  s = trimmed(s);
  if (s.empty()) return false;
  if (s.front() == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, std::chars_format::general);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

}  // namespace

namespace detail {

void walkSheetData(pugi::xml_node sheetData, std::uint64_t maxCells,
                   const std::function<void(const std::string&)>& fail, SheetDataVisitor& visitor) {
  std::vector<bool> rowSeen(kMaxRows + 1, false);
  std::uint64_t cells = 0;
  std::uint32_t rowNumber = 0;  // of the previous <row>
  std::vector<std::uint32_t> columns;         // of the cells of this row, while they ascend
  std::unordered_set<std::uint32_t> unsorted;  // all of them once one came out of order
  for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
    if (row.type() != pugi::node_element || localName(row.name()) != "row") continue;
    const pugi::xml_attribute r = row.attribute("r");
    if (r) {
      if (!parseRowDigits(trimmed(r.value()), rowNumber)) fail("の行番号「" + std::string(r.value()) + "」が正しくありません。");
    } else {
      if (rowNumber >= kMaxRows) fail("の行が多すぎます。");
      ++rowNumber;
    }
    if (rowSeen[rowNumber]) fail("の行 " + std::to_string(rowNumber) + " が重複しています。");
    rowSeen[rowNumber] = true;
    visitor.row(row, rowNumber, static_cast<bool>(r));

    columns.clear();
    unsorted.clear();
    std::uint32_t column = 0;
    bool first = true;
    for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
      if (++cells > maxCells) fail("のセルが多すぎます。");
      const pugi::xml_attribute cr = c.attribute("r");
      if (cr) {
        CellRef ref;
        if (!parseCellRef(trimmed(cr.value()), ref)) fail("のセル番地「" + std::string(cr.value()) + "」が正しくありません。");
        if (ref.row != rowNumber)
          fail("のセル番地「" + std::string(cr.value()) + "」が行 " + std::to_string(rowNumber) + " にあります。");
        column = ref.column;
      } else if (!first) {
        if (column + 1 >= kMaxColumns) fail("の列が多すぎます。");
        ++column;
      }
      first = false;
      // Cells usually ascend; a set of the row's columns is made only when one does not.
      bool again = false;
      if (unsorted.empty() && (columns.empty() || column > columns.back())) {
        columns.push_back(column);
      } else {
        if (unsorted.empty()) unsorted.insert(columns.begin(), columns.end());
        again = !unsorted.insert(column).second;
      }
      if (again) fail("のセル「" + formatCellRef({column, rowNumber}) + "」が重複しています。");
      visitor.cell(c, {column, rowNumber}, static_cast<bool>(cr));
    }
  }
}

namespace {

// The reader's side of the walk: each cell's value, into rows padded from column A.
class RowReader final : public SheetDataVisitor {
 public:
  RowReader(const Model& model, const std::string& sheetName) : m_(model), sheet_(sheetName) {}

  void row(pugi::xml_node, std::uint32_t, bool) override {}
  void cell(pugi::xml_node c, CellRef ref, bool) override {
    CellValue value = valueOf(c, ref);
    if (value.empty()) return;
    textBytes_ += value.text.size();
    if (textBytes_ > m_.limits.maxTextPerSheet) fail("の文字が多すぎます。");
    if (rows_.size() < ref.row) rows_.resize(ref.row);
    Row& row = rows_[ref.row - 1];
    if (row.size() <= ref.column) {
      slots_ += ref.column + 1 - row.size();
      if (slots_ > m_.limits.maxCellsPerSheet) fail("のセルが多すぎます。");
      row.resize(ref.column + 1);
    }
    row[ref.column] = std::move(value);
  }

  [[noreturn]] void fail(const std::string& what) const { m_.fail("シート「" + sheet_ + "」" + what); }
  std::vector<Row> take() { return std::move(rows_); }

 private:
  CellValue valueOf(pugi::xml_node c, CellRef ref) const {
    const auto cellFail = [&](const std::string& what) { fail("のセル「" + formatCellRef(ref) + "」の" + what); };
    CellValue value;
    const std::string_view type = c.attribute("t").value();
    const pugi::xml_node v = child(c, "v");
    const char* vText = v.text().get();
    // An empty value is no value: some writers save a formula they cannot calculate with
    // "<v></v>". Only a string result may consist of spaces.
    const bool noValue = !v || (type == "str" ? *vText == '\0' : trimmed(vText).empty());
    if (type == "inlineStr") {
      if (const pugi::xml_node is = child(c, "is")) {
        value.type = CellValue::Type::Text;
        value.text = stringItemText(is);
      }
    } else if (noValue) {
      // No value: a styled cell or a formula without a cached result.
    } else if (type.empty() || type == "n") {
      value.type = CellValue::Type::Number;
      if (!parseNumber(vText, value.number)) cellFail("数値が正しくありません。");
    } else if (type == "s") {
      std::uint32_t index = 0;
      const std::string_view s = trimmed(vText);
      const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), index);
      if (ec != std::errc() || end != s.data() + s.size() || s.empty() || index >= m_.sharedStrings.size())
        cellFail("文字列が見つかりません。");
      value.type = CellValue::Type::Text;
      value.text = m_.sharedStrings[index];
    } else if (type == "str") {
      value.type = CellValue::Type::Text;
      value.text = decodeOoxmlEscapes(vText);
    } else if (type == "b") {
      const std::string_view s = trimmed(vText);
      value.type = CellValue::Type::Boolean;
      if (s == "1" || s == "true") {
        value.number = 1;
      } else if (s == "0" || s == "false") {
        value.number = 0;
      } else {
        cellFail("論理値が正しくありません。");
      }
    } else if (type == "e") {
      value.type = CellValue::Type::Error;
      value.text = std::string(trimmed(vText));
    } else if (type == "d") {
      // An ISO 8601 date of the strict format; kept as its text.
      value.type = CellValue::Type::Text;
      value.text = std::string(trimmed(vText));
    } else {
      cellFail("型「" + std::string(type) + "」が正しくありません。");
    }
    return value;
  }

  const Model& m_;
  const std::string& sheet_;
  std::vector<Row> rows_;
  std::uint64_t slots_ = 0;      // cells handed out, counted from column A to each row's last value
  std::uint64_t textBytes_ = 0;  // text handed out (a shared string may be used by many cells)
};

}  // namespace

std::vector<Row> Model::readRows(std::size_t sheetIndex) const {
  const SheetInfo& sheet = sheets.at(sheetIndex);
  const auto doc = parsePart(sheet.part, true, "シート「" + sheet.name + "」");
  const pugi::xml_node root = doc->document_element();
  RowReader reader(*this, sheet.name);
  if (localName(root.name()) != "worksheet") reader.fail("の本体が壊れています。");
  walkSheetData(child(root, "sheetData"), limits.maxCellsPerSheet, [&](const std::string& what) { reader.fail(what); },
                reader);
  return reader.take();
}

}  // namespace detail

// ---- Workbook ----------------------------------------------------------------------------------

Workbook Workbook::open(const std::string& path, const Limits& limits) {
  return Workbook(detail::Model::load(path, limits));
}

Workbook::Workbook(std::unique_ptr<detail::Model> model) : model_(std::move(model)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

const std::string& Workbook::path() const { return model_->path; }

const std::vector<std::string>& Workbook::sheetNames() const { return model_->sheetNames; }

bool Workbook::hasSheet(std::string_view name) const { return model_->findSheet(name) >= 0; }

std::vector<Row> Workbook::rows(std::string_view sheet) const {
  const int index = model_->findSheet(sheet);
  if (index < 0) model_->fail("シート「" + std::string(sheet) + "」がありません。");
  return model_->readRows(static_cast<std::size_t>(index));
}

}  // namespace tovakin::platform::xlsx
