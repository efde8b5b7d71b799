#include "ui/application.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QApplication>
#include <map>
#include <string>
#include "support/row_name.h"

namespace tovakin::gui {
namespace {

struct EnvironmentCase {
  const char* name;
  std::map<std::string, std::string> variables;
  bool desktop;
};

class DesktopCheck : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(DesktopCheck, SaysWhatToDoOnlyWithoutADisplay) {
  const auto& vars = GetParam().variables;
  const auto message = noDesktopMessage("build/Tovakin/tovakin", [&](const char* name) -> const char* {
    const auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  });
  EXPECT_EQ(!message.has_value(), GetParam().desktop);
  if (message) {
    EXPECT_NE(message->find("画面"), std::string::npos);
    EXPECT_NE(message->find("found no display"), std::string::npos);
    EXPECT_NE(message->find("xvfb-run -a build/Tovakin/tovakin"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DesktopCheck,
    ::testing::Values(EnvironmentCase{"Nothing", {}, false},
                      EnvironmentCase{"EmptyValues", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
                      EnvironmentCase{"X11", {{"DISPLAY", ":0"}}, true},
                      EnvironmentCase{"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                      EnvironmentCase{"ChosenPlatform", {{"QT_QPA_PLATFORM", "offscreen"}}, true}),
    [](const ::testing::TestParamInfo<EnvironmentCase>& info) { return std::string(info.param.name); });

class DesignedFace : public ::testing::TestWithParam<QString> {};

TEST_P(DesignedFace, IsDrawnInTheJapaneseFace) {
  const QFont font(GetParam(), 9);
  EXPECT_EQ(QFontInfo(font).family(), kJapaneseFace);
  // Every character of a designed caption has a glyph in it: nothing is drawn as a box.
  const QFontMetrics metrics(font);
  for (const QChar c : QStringLiteral("管設計ﾌｧｲﾙ計算する(&C)ｵﾌﾟｼｮﾝ１２．５　ｍｍ"))
    EXPECT_TRUE(metrics.inFont(c)) << QString(c).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faces, DesignedFace, ::testing::ValuesIn(designedFaces().begin(), designedFaces().end()),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.toStdString()); });

TEST(Application, ItsOwnFaceIsTheJapaneseOne) {
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), kJapaneseFace);
}

}  // namespace
}  // namespace tovakin::gui
