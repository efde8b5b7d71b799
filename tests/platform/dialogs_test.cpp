#include <gtest/gtest.h>

#include "platform/common_dialog.h"
#include "platform/message_box.h"
#include "support/scripted_dialogs.h"

namespace tovakin::platform {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(CommonDialog, ParseFilter) {
  EXPECT_EQ(parseFilter("Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA|すべてのﾌｧｲﾙ(*.*)|*.*"),
            (Pairs{{"Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)", "*.PIPEDATA"}, {"すべてのﾌｧｲﾙ(*.*)", "*.*"}}));
  EXPECT_EQ(parseFilter("Microsoft Excel (*.XLS)|*.XLS"), (Pairs{{"Microsoft Excel (*.XLS)", "*.XLS"}}));
  EXPECT_EQ(parseFilter("Text|*.txt;*.log|Lone"), (Pairs{{"Text", "*.txt;*.log"}, {"Lone", ""}}));
  EXPECT_EQ(parseFilter(""), Pairs{});
}

TEST(MessageBox, EmptyTitleIsTheApplicationTitleAndSafeAnswers) {
  testing::ScriptedMessageBox box;
  {
    Installed<MessageBoxService> scope = installMessageBox(box);
    box.answer(MsgAnswer::Yes);
    EXPECT_EQ(msgBox("上書きしますか？", MsgButtons::YesNo, MsgIcon::None, "確認"), MsgAnswer::Yes);
    EXPECT_EQ(msgBox("x"), MsgAnswer::OK);
    EXPECT_EQ(msgBox("y", MsgButtons::YesNoCancel), MsgAnswer::Cancel);
  }
  ASSERT_EQ(box.shown.size(), 3u);
  EXPECT_EQ(box.shown[0].title, "確認");
  EXPECT_EQ(box.shown[1].title, "Tovakin");
  EXPECT_NE(&messageBox(), &box);  // restored
  EXPECT_EQ(safeAnswer(MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(safeAnswer(MsgButtons::OKCancel), MsgAnswer::Cancel);
  EXPECT_EQ(safeAnswer(MsgButtons::RetryCancel), MsgAnswer::Cancel);
}

}  // namespace
}  // namespace tovakin::platform
