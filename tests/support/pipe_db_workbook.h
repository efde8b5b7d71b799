#pragma once
// Test application folders with a pipe-material workbook of the test's own making.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "calc/pipe_database.h"
#include "calc/pipe_db_sqlite.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::testing {
using namespace tovakin::calc;

using Sheet = std::vector<std::vector<std::string>>;  // first row the column names; "" no cell
using Sheets = std::vector<std::pair<std::string, Sheet>>;

inline const std::vector<std::string> kPipeHeader = {"管種", "規格", "呼び径", "外径", "管厚",
                                                     "管厚中心半径", "内径", "ひびわれ外圧", "ひびわれ内圧", "EI値"};

// A small workbook that exercises every lookup.
inline Sheets baseSheets() {
  Sheet rigid = {kPipeHeader,
                 {"ヒューム管", "1種", "300", "360", "30", "165", "300", "18", "0.5", ""},
                 {"ヒューム管", "1種", "62.5", "100", "10", "45", "80", "7", "0.25", ""}};
  Sheet flexible = {kPipeHeader,
                    {"鋼管", "STW", "400", "406.4", "6", "200.2", "394.4", "", "2.5", "1200"},
                    {"ヒューム管", "1種", "300", "360", "30", "165", "300", "99", "9", ""}};
  Sheet material = {{"管種", "単位体積重量", "弾性係数", "管材区分", "引張応力", "許容引張応力度"},
                    {"ヒューム管", "24.5", "", "0", "", ""},
                    {"鋼管", "77", "206000000", "2.5", "1", "137000"},
                    {"鋼管", "78", "200000000", "3", "2", "140000"},
                    {"中空管", "", "", "", "", ""}};
  Sheet moment = {{"対象管", "対象荷重", "設計支持角", "支承条件", "係数"},
                  {"不とう性管", "鉛直等分布荷重", "90", "自由支承", "0.314"},
                  {"とう性管", "管体自重", "120", "固定支承", "0.111"}};
  Sheet trench = {{"呼び径", "BS値"}, {"100以下", "500"}, {"150", "550"}};
  return {{"不とう性管", rigid}, {"とう性管", flexible}, {"管材データ", material},
          {"モーメント係数", moment}, {"標準溝幅", trench}};
}

inline Sheet& sheetOf(Sheets& sheets, const std::string& name) {
  for (auto& [n, s] : sheets)
    if (n == name) return s;
  throw std::out_of_range(name);
}

// An application folder in a temporary directory, with DATABASE/ inside.
class TestApp {
 public:
  TestApp() { std::filesystem::create_directories(dir_.path() / "DATABASE"); }
  std::string path() const { return dir_.path().string() + "/"; }
  std::string database() const { return pipeDatabasePath(path()); }
  std::string workbook() const { return pipeWorkbookPath(path()); }

  // Writes the workbook through xlsxgen (shared strings, numbers as numbers, "'" for text).
  void write(const Sheets& sheets) const {
    std::vector<std::string> args{workbook()};
    int i = 0;
    for (const auto& [name, rows] : sheets) {
      std::string tsv;
      for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) tsv += (c ? "\t" : "") + row[c];
        tsv += "\n";
      }
      const std::string file = dir_.file("sheet" + std::to_string(i++) + ".tsv");
      writeFile(file, tsv);
      args.push_back(name + "=" + file);
    }
    ASSERT_EQ(runXlsxgen(args), 0);
  }

  // Rebuilds; returns the texts of the error boxes shown (answered with Ignore).
  std::vector<std::string> rebuild() const {
    ScriptedErrorBox box;
    CreateMyDatabase(path());
    return box.shown;
  }

  // The rows of a query on the database, each cell as text ("<null>" for Null).
  std::vector<std::vector<std::string>> query(const std::string& sql) const {
    pipedb::Connection c(database(), pipedb::Connection::Mode::OpenExisting);
    pipedb::Statement s(c, sql);
    std::vector<std::vector<std::string>> out;
    while (s.step()) {
      std::vector<std::string> row;
      for (int i = 0; i < s.columnCount(); ++i) row.push_back(s.text(i).value_or("<null>"));
      out.push_back(row);
    }
    return out;
  }

 private:
  TempDir dir_;
};

}  // namespace tovakin::testing
