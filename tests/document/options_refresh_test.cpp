// The options dialog over open document windows: OK refreshes each of them once, and a refresh
// is no change of the user's.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <vector>

#include "document/frm_document.h"
#include "support/options_dialog_fixture.h"

namespace tovakin::gui {
namespace {

using tovakin::testing::OptionsDialog;

TEST_F(OptionsDialog, OkKeepsTheMembersWithoutABoxAndRefreshesEachOpenDocumentUnchanged) {
  g_calcSettings.korinKaju[4] = 7;
  g_calcSettings.buruKaju[0].a = 33;
  g_calcSettings.shijikakuKeisu[4][0] = 0.1234;  // from a hand-edited file
  QWidget mainWindow;
  std::vector<std::unique_ptr<frmDocument>> documents;
  for (int i = 0; i < 3; ++i) documents.push_back(std::make_unique<frmDocument>(&mainWindow));
  std::vector<frmDocument*> refreshed;
  auto dialog = open(&mainWindow, [&] {
    for (auto& d : documents) refreshed.push_back(d.get());
  });
  type(*dialog, 10, "0.95");
  button(*dialog, frmOptions::kOk)->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(g_calcSettings.betaT25Igai, 0.95);
  EXPECT_DOUBLE_EQ(g_calcSettings.korinKaju[4], 7);
  EXPECT_DOUBLE_EQ(g_calcSettings.buruKaju[0].a, 33);
  EXPECT_DOUBLE_EQ(g_calcSettings.shijikakuKeisu[4][0], 0.123);  // stored as shown
  EXPECT_EQ(ini("後輪荷重T0"), "7");
  ASSERT_EQ(refreshed.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(refreshed[i], documents[i].get());
    EXPECT_TRUE(documents[i]->blnUnchanged()) << "document " << i;
  }
}

}  // namespace
}  // namespace tovakin::gui
