#include "document/frm_document.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/document_layout.h"
#include "platform/error_box.h"
#include "support/not_found.h"
#include "support/scripted_dialogs.h"
#include "ui/unit_caption.h"

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

// Each designed control is the window's typed member of its role, found again by its designed
// name; a name the window does not have fails, never finds nothing quietly.
TEST(DocumentWindow, HoldsEveryDesignedControlInItsTypedMember) {
  frmDocument d;
  for (const DesignedControl& c : documentControls()) {
    const std::string name = objectNameOf(c);
    QWidget* found = d.control(name);
    EXPECT_EQ(found->objectName().toStdString(), name);
    switch (c.role) {
      case DocRole::TextBox: EXPECT_EQ(found, d.txtTextBox(c.index)) << name; break;
      case DocRole::Command: EXPECT_EQ(found, d.cmdCommand(c.index)) << name; break;
      case DocRole::KisozaiSet: EXPECT_EQ(found, d.cmdKisozaiSet()) << name; break;
      case DocRole::NaigaiatuSet: EXPECT_EQ(found, d.cmdNaigaiatuSet()) << name; break;
      case DocRole::FormPanel: EXPECT_EQ(found, d.picMyForm()) << name; break;
      case DocRole::TouseiPanel: EXPECT_EQ(found, d.picTouseiField()) << name; break;
      case DocRole::CommandPanel: EXPECT_EQ(found, d.picCommand()) << name; break;
      case DocRole::KanshuCaption: EXPECT_EQ(found, static_cast<QWidget*>(d.lblKanshu())) << name; break;
      case DocRole::MizohabaCaption: EXPECT_EQ(found, static_cast<QWidget*>(d.lblMizohaba())) << name; break;
      case DocRole::Unit: EXPECT_EQ(found, static_cast<QWidget*>(d.picTanni(c.index))) << name; break;
      case DocRole::Kanshu: EXPECT_EQ(found, d.cbKanshu()) << name; break;
      case DocRole::Kikaku: EXPECT_EQ(found, d.cbKikaku()) << name; break;
      case DocRole::Yobina: EXPECT_EQ(found, d.cbYobina()) << name; break;
      case DocRole::Maisetu: EXPECT_EQ(found, d.cbMaisetu()) << name; break;
      case DocRole::Kiso: EXPECT_EQ(found, d.cbKiso()) << name; break;
      case DocRole::KajuJoken: EXPECT_EQ(found, d.cbKajuJoken()) << name; break;
      case DocRole::BuruJoken: EXPECT_EQ(found, d.cbBuruJoken()) << name; break;
      case DocRole::DoroJoken: EXPECT_EQ(found, d.cbDoroJoken()) << name; break;
      case DocRole::Caption:  // the captions and the hidden labels have no member of their own
      case DocRole::AppTitle:
      case DocRole::FileName:
      case DocRole::CommandWord: break;
    }
  }
  // Names, and indices outside the control arrays: each failure names the control.
  const std::string pastTheBoxes = "txtTextBox_" + std::to_string(kTextBoxCount);
  for (const std::string& unknown : {pastTheBoxes, std::string("cbKanshu_0"), std::string("cmdCalc"), std::string()})
    EXPECT_TRUE(testing::raisesNotFound([&] { d.control(unknown); }, unknown));
  EXPECT_TRUE(testing::raisesNotFound([&] { d.txtTextBox(-1); }, "txtTextBox_-1"));
  EXPECT_TRUE(testing::raisesNotFound([&] { d.txtTextBox(kTextBoxCount); }, pastTheBoxes));
  EXPECT_TRUE(testing::raisesNotFound([&] { d.picTanni(kUnitCaptionCount); },
                                      "picTanni_" + std::to_string(kUnitCaptionCount)));
  EXPECT_TRUE(testing::raisesNotFound([&] { d.cmdCommand(-1); }, "cmdCommand_-1"));
}

}  // namespace
}  // namespace tovakin::gui
