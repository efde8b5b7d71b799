#include "shell/frm_about.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/app_state.h"
#include "shell/maker.h"
#include "shell/version.h"
#include "support/scripted_error_box.h"
#include "support/scripted_launcher.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {
namespace {

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_app;
    g_app.g_appPath = std::string(TOVAKIN_APPDIR) + "/";
  }
  void TearDown() override { g_app = saved_; }
  QLabel* label(frmAbout& box, const char* name) { return box.findChild<QLabel*>(name); }

  testing::ScriptedErrorBox errors;
  testing::ScriptedLauncher desktop;

 private:
  AppState saved_;
};

TEST_F(AboutBox, ShowsItsTextsWholeAboveTheEtchedLine) {
  frmAbout box(nullptr);
  EXPECT_EQ(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Tovakin"));
  EXPECT_EQ(label(box, "lblTitle")->text(), QStringLiteral("Tovakin\nﾊﾟｲﾌﾟﾗｲﾝ管路の構造計算 統合版"));
  EXPECT_EQ(label(box, "lblVersion")->text(),
            QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
  EXPECT_EQ(label(box, "lblDescription")->text(), QStringLiteral("このプログラムは、以下を参考に作成されています。\n"
                                                                 "土地改良事業計画設計基準・設計「パイプライン」\n平成２１年３月"));
  EXPECT_EQ(label(box, "lblDisclaimer")->text(), QString::fromLatin1(kMakerNotice));
  QLabel* url = label(box, "lblQuirnURL");
  EXPECT_EQ(url->text(), QString::fromLatin1(kMakerWebPage));
  EXPECT_EQ(url->toolTip(), QStringLiteral("株式会社QuirnのWebサイトを開きます"));
  EXPECT_EQ(url->cursor().shape(), Qt::PointingHandCursor);
  auto* ok = box.findChild<QPushButton*>("cmdOK");
  EXPECT_EQ(ok->toolTip(), QStringLiteral("OK(ALT+O)"));
  EXPECT_FALSE(box.windowIcon().isNull());
  EXPECT_TRUE(errors.shown.empty());

  // The substituted Japanese face needs more room than designed: nothing is cut, nothing overlaps.
  for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "lblQuirnURL"}) {
    QLabel* l = label(box, name);
    EXPECT_GE(l->height(), l->sizeHint().height()) << name;
    EXPECT_GE(l->width(), l->sizeHint().width()) << name;
    EXPECT_TRUE(box.rect().contains(l->geometry())) << name;
  }
  auto* line = box.findChild<QFrame*>("Line1_0");  // the lower of the two
  EXPECT_LT(label(box, "lblDescription")->geometry().bottom(), line->y() - 1);
  EXPECT_LT(line->geometry().bottom(), std::min(label(box, "lblDisclaimer")->y(), ok->y()));
  EXPECT_EQ(box.width() - line->geometry().right() - 1, twipsToPixels(5865 - 5657));
}

TEST_F(AboutBox, TheLinkOpensThePageAndKeepsTheBoxWhileEnterAndEscapeBothPressOk) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    frmAbout box(nullptr);
    box.show();
    QTest::mouseClick(label(box, "lblQuirnURL"), Qt::LeftButton);
    QTest::mouseClick(label(box, "lblDescription"), Qt::LeftButton);  // beside the link: nothing
    EXPECT_TRUE(box.isVisible());
    desktop.opens = false;  // a failure says nothing
    QTest::keyClick(&box, key);
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.result(), QDialog::Accepted) << key;
  }
  EXPECT_EQ(desktop.urls, std::vector<std::string>(3, kMakerWebPage));
  EXPECT_TRUE(errors.shown.empty());
}

TEST(AboutLayout, AGrowingRectanglePushesDownWhatStartsBelowIt) {
  const std::vector<QRect> designed{{0, 0, 100, 40}, {0, 50, 100, 20}, {0, 100, 100, 50}, {150, 0, 50, 200}};
  int extra = -1;
  EXPECT_EQ(grownDownward(designed, {30, 0, 50, 100}, extra), designed);
  EXPECT_EQ(extra, 0);
  // The first grows by 6 and the third by 4: what lies below the first moves by 6; the fourth,
  // which starts above the first's bottom, stays.
  EXPECT_EQ(grownDownward(designed, {46, 0, 54, 0}, extra),
            (std::vector<QRect>{{0, 0, 100, 46}, {0, 56, 100, 20}, {0, 106, 100, 54}, designed[3]}));
  EXPECT_EQ(extra, 10);
}

}  // namespace
}  // namespace tovakin::gui
