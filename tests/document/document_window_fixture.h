#pragma once
// Document windows over a pipe database of the tests' own: a workbook written by the build tool
// and rebuilt into the database the window reads through the installed pipe-data source.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <memory>

#include "app/calc_settings.h"
#include "app/settings.h"
#include "calc/pipe_db_workbook.h"
#include "document/frm_document.h"
#include "support/scripted_error_box.h"

namespace tovakin::gui::testing {

using namespace tovakin::testing;

// Pipe classes: ヒューム管 0 (rigid), 鋳鉄管 1, 鋼管 2, 強化プラスチック管 5, 中空管 3, ポリ"管 3,
// 未登録管 missing from the material table (-1). ヒューム管 sorts first.
inline Sheets windowSheets() {
  auto row = [](const char* kanshu, const char* kikaku, const char* size, const char* gaikei, const char* kanatu) {
    return std::vector<std::string>{kanshu, kikaku, size, gaikei, kanatu, "", "", "", "", ""};
  };
  Sheet rigid = {kPipeHeader,
                 row("ヒューム管", "1種", "1000", "1100", "50"),
                 row("ヒューム管", "1種", "75", "95", "10"),
                 row("ヒューム管", "1種", "100", "120", "10"),
                 row("ヒューム管", "2種", "300", "360", "30"),
                 row("ヒューム管", "2種", "62.5", "80", "8")};
  Sheet flexible = {kPipeHeader,
                    row("鋳鉄管", "K", "800", "818", "9"),
                    row("鋳鉄管", "K", "790", "817.9", "8.99"),
                    row("鋳鉄管", "K", "780", "818", "10"),
                    row("鋼管", "S", "800", "820", "10"),
                    row("鋼管", "S", "700", "720", "10"),
                    row("強化プラスチック管", "P", "200", "220", "10"),
                    row("中空管", "X", "100", "", "5"),
                    row("中空管", "X", "200", "210", ""),
                    row("中空管", "", "300", "310", "5"),
                    row("ポリ\"管", "A\"B", "150", "160", "5"),
                    row("未登録管", "U", "100", "110", "5")};
  Sheet material = {{"管種", "単位体積重量", "弾性係数", "管材区分", "引張応力", "許容引張応力度"},
                    {"ヒューム管", "24.5", "", "0", "", ""},
                    {"鋳鉄管", "71", "", "1", "", ""},
                    {"鋼管", "77", "", "2", "", ""},
                    {"強化プラスチック管", "20", "", "5", "", ""},
                    {"中空管", "10", "", "3", "", ""},
                    {"ポリ\"管", "13.5", "", "3", "", ""}};
  Sheet moment = {{"対象管", "対象荷重", "設計支持角", "支承条件", "係数"}};
  Sheet trench = {{"呼び径", "BS値"}};
  return {{"不とう性管", rigid}, {"とう性管", flexible}, {"管材データ", material},
          {"モーメント係数", moment}, {"標準溝幅", trench}};
}

// An application folder with the pipe database of the sheets, made once for a test suite.
class PipeDatabaseFolder {
 public:
  explicit PipeDatabaseFolder(const Sheets& sheets) {
    app_.write(sheets);
    const std::vector<std::string> boxes = app_.rebuild();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
  }
  std::string path() const { return app_.path(); }

 private:
  TestApp app_;
};

// Every test: the database installed as the pipe-data source, the built-in settings, and a
// scripted error box that records and answers Ignore.
class DocumentWindowTest : public ::testing::Test {
 protected:
  static PipeDatabaseFolder& folder() {
    static PipeDatabaseFolder shared(windowSheets());
    return shared;
  }

  void SetUp() override { g_calcSettings = builtInCalcSettings(); }
  void TearDown() override { g_calcSettings = savedSettings_; }

  // The user chooses the entry of that text, as a click in the open list does.
  static void choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  static QString box(const frmDocument& document, int index) { return document.txtTextBox(index)->text(); }
  static QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
  }
  // The five pipe boxes 1, 21, 2, 3, 4.
  static QStringList pipeBoxes(const frmDocument& d) {
    return {box(d, 1), box(d, 21), box(d, 2), box(d, 3), box(d, 4)};
  }

  ScriptedErrorBox errors;
  SqlitePipeDataSource source{folder().path()};
  Installed<PipeDataSource> installed = installPipeDataSource(&source);

 private:
  CalcSettings savedSettings_ = g_calcSettings;
};

}  // namespace tovakin::gui::testing
