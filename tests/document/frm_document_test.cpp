#include "document/frm_document.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace tovakin::gui {
namespace {

using testing::ScriptedMessageBox;

class DocumentClose : public ::testing::Test {
 protected:
  ScriptedMessageBox messages;
  Installed<MessageBoxService> installed = installMessageBox(messages);
};

TEST_F(DocumentClose, AnUnchangedDocumentClosesWithoutAQuestion) {
  frmDocument document;
  EXPECT_TRUE(document.blnUnchanged());
  EXPECT_TRUE(document.queryClose());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DocumentClose, AChangedDocumentAsksAndFollowsTheAnswer) {
  frmDocument document;
  document.setUnchanged(false);
  messages.answer(MsgAnswer::Cancel);
  messages.answer(MsgAnswer::No);
  EXPECT_FALSE(document.queryClose());
  EXPECT_TRUE(document.queryClose());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, kSaveQuestion);
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(messages.shown[0].title, kAppTitle);  // the application title
}

TEST_F(DocumentClose, YesKeepsTheWindowWhenTheSaveDidNotHappen) {
  frmDocument document;
  document.setUnchanged(false);
  messages.answer(MsgAnswer::Yes);
  EXPECT_FALSE(document.queryClose());
}

TEST(DocumentWindow, IsRecognisedByItsTagAndKeepsItsFilePath) {
  frmDocument document;
  EXPECT_EQ(document.property("Tag").toString(), kDocumentTag);
  EXPECT_EQ(document.lblMyFilename(), QString());
  document.setMyFilename("/data/a.PIPEDATA");
  EXPECT_EQ(document.lblMyFilename(), "/data/a.PIPEDATA");
  DocumentCommand(document, QString());  // the empty word does nothing
  EXPECT_TRUE(document.blnUnchanged());
}

}  // namespace
}  // namespace tovakin::gui
