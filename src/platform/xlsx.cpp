// Workbook API and the reading of worksheet cells.
#include <charconv>
#include <cmath>
#include <cstdint>

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

std::vector<Row> Model::readRows(std::size_t sheetIndex) const {
  const SheetInfo& sheet = sheets.at(sheetIndex);
  const auto doc = parsePart(sheet.part, true, "シート「" + sheet.name + "」");
  const pugi::xml_node root = doc->document_element();
  const auto sheetFail = [&](const std::string& what) { fail("シート「" + sheet.name + "」" + what); };
  if (localName(root.name()) != "worksheet") sheetFail("の本体が壊れています。");

  std::vector<Row> rows;
  std::uint64_t cellElements = 0;  // <c> elements seen
  std::uint64_t slots = 0;         // cells handed out, counted from column A to each row's last value
  std::uint64_t textBytes = 0;     // text handed out (a shared string may be used by many cells)
  std::uint32_t rowNumber = 0;     // of the previous <row>

  const pugi::xml_node sheetData = child(root, "sheetData");
  for (pugi::xml_node rowNode = sheetData.first_child(); rowNode; rowNode = rowNode.next_sibling()) {
    if (rowNode.type() != pugi::node_element || localName(rowNode.name()) != "row") continue;
    if (const pugi::xml_attribute r = rowNode.attribute("r")) {
      if (!parseRowDigits(trimmed(r.value()), rowNumber)) {
        sheetFail("の行番号「" + std::string(r.value()) + "」が正しくありません。");
      }
    } else {
      if (rowNumber >= kMaxRows) sheetFail("の行が多すぎます。");
      ++rowNumber;  // a row without its number follows the previous one
    }

    Row* row = nullptr;  // created when the row gets its first value
    std::uint32_t column = 0;
    bool first = true;
    for (pugi::xml_node c = rowNode.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
      if (++cellElements > limits.maxCellsPerSheet) sheetFail("のセルが多すぎます。");

      if (const pugi::xml_attribute r = c.attribute("r")) {
        CellRef ref;
        if (!parseCellRef(trimmed(r.value()), ref)) {
          sheetFail("のセル番地「" + std::string(r.value()) + "」が正しくありません。");
        }
        if (ref.row != rowNumber) {
          sheetFail("のセル番地「" + std::string(r.value()) + "」が行 " + std::to_string(rowNumber) + " にあります。");
        }
        column = ref.column;
      } else if (!first) {
        if (column + 1 >= kMaxColumns) sheetFail("の列が多すぎます。");
        ++column;  // a cell without its reference follows the previous one
      }
      first = false;

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
        if (!parseNumber(vText, value.number)) {
          sheetFail("のセル「" + formatCellRef({column, rowNumber}) + "」の数値が正しくありません。");
        }
      } else if (type == "s") {
        std::uint32_t index = 0;
        const std::string_view s = trimmed(vText);
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), index);
        if (ec != std::errc() || end != s.data() + s.size() || s.empty() || index >= sharedStrings.size()) {
          sheetFail("のセル「" + formatCellRef({column, rowNumber}) + "」の文字列が見つかりません。");
        }
        value.type = CellValue::Type::Text;
        value.text = sharedStrings[index];
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
          sheetFail("のセル「" + formatCellRef({column, rowNumber}) + "」の論理値が正しくありません。");
        }
      } else if (type == "e") {
        value.type = CellValue::Type::Error;
        value.text = std::string(trimmed(vText));
      } else if (type == "d") {
        // An ISO 8601 date of the strict format; kept as its text.
        value.type = CellValue::Type::Text;
        value.text = std::string(trimmed(vText));
      } else {
        sheetFail("のセル「" + formatCellRef({column, rowNumber}) + "」の型「" + std::string(type) +
                  "」が正しくありません。");
      }
      if (value.empty()) continue;
      textBytes += value.text.size();
      if (textBytes > limits.maxTextPerSheet) sheetFail("の文字が多すぎます。");

      if (!row) {
        if (rows.size() < rowNumber) rows.resize(rowNumber);
        row = &rows[rowNumber - 1];
      }
      if (row->size() <= column) {
        slots += column + 1 - row->size();
        if (slots > limits.maxCellsPerSheet) sheetFail("のセルが多すぎます。");
        row->resize(column + 1);
      }
      (*row)[column] = std::move(value);
    }
  }
  return rows;
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
