// The focus of the documents of an MDI area: where a document was left, it is taken up again.
#include "ui/document_focus.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QVBoxLayout>
#include <array>
#include <memory>

namespace tovakin::gui {
namespace {

struct Document {
  QWidget* widget = new QWidget;
  std::array<QLineEdit*, 3> boxes{};
  QMdiSubWindow* sub = nullptr;
  Document() {
    auto* column = new QVBoxLayout(widget);
    for (QLineEdit*& box : boxes) column->addWidget(box = new QLineEdit(widget));
  }
};

class DocumentFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    area.resize(900, 700);
    keepFocusPerDocument(area);
    area.show();
    area.activateWindow();
    if (!QTest::qWaitForWindowActive(&area)) GTEST_SKIP() << "no window activation on this platform";
    for (Document& d : documents) {
      d.sub = area.addSubWindow(d.widget);
      d.sub->show();
      area.setActiveSubWindow(d.sub);
    }
  }
  void bringBack(const Document& d) {
    area.setActiveSubWindow(documents[0].sub == d.sub ? documents[1].sub : documents[0].sub);
    settle();
    area.setActiveSubWindow(d.sub);
    settle();
  }
  // The focus is given back once the area has finished a switch.
  static void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  QMdiArea area;
  std::array<Document, 3> documents;
};

TEST_F(DocumentFocus, ADocumentActivatedByAClickIntoABoxGetsThatBoxBack) {
  Document& first = documents[0];
  EXPECT_EQ(QApplication::focusWidget(), documents[2].boxes[0]) << "a new document starts in its first box";
  // The first document is not active; a click into its last box brings it to the front.
  QTest::mouseClick(first.boxes[2], Qt::LeftButton);
  ASSERT_EQ(area.activeSubWindow(), first.sub);
  ASSERT_EQ(QApplication::focusWidget(), first.boxes[2]);
  for (int round = 0; round < 2; ++round) {
    bringBack(first);
    EXPECT_EQ(QApplication::focusWidget(), first.boxes[2]) << round;
  }
}

TEST_F(DocumentFocus, AFocusMovedByTheProgramIsWhereTheDocumentIsTakenUpAgain) {
  Document& first = documents[0];
  QTest::mouseClick(first.boxes[2], Qt::LeftButton);
  focusOnUsersBehalf(*first.boxes[1]);  // a check points at the offending box
  bringBack(first);
  EXPECT_EQ(QApplication::focusWidget(), first.boxes[1]);
  // A move the program makes without the user (as Qt's own are) is not where the user works.
  first.boxes[0]->setFocus(Qt::OtherFocusReason);
  bringBack(first);
  EXPECT_EQ(QApplication::focusWidget(), first.boxes[1]);
  // The box it was left in is gone from sight: the area chooses, as for a new document.
  first.boxes[1]->hide();
  bringBack(first);
  EXPECT_NE(QApplication::focusWidget(), first.boxes[1]);
  EXPECT_TRUE(first.sub->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(DocumentFocus, TheUsersTabMovesTheBoxAMoveOfQtsDoesNot) {
  Document& first = documents[0];
  QTest::mouseClick(first.boxes[0], Qt::LeftButton);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), first.boxes[1]);
  // Qt hands the focus on while the document's window changes: no choice of the user.
  first.boxes[2]->setFocus(Qt::TabFocusReason);
  bringBack(first);
  EXPECT_EQ(QApplication::focusWidget(), first.boxes[1]);
}

TEST_F(DocumentFocus, ADocumentNeverFocusedStartsInItsFirstBox) {
  auto late = std::make_unique<Document>();
  late->sub = area.addSubWindow(late->widget);
  late->sub->show();
  area.setActiveSubWindow(late->sub);
  EXPECT_EQ(QApplication::focusWidget(), late->boxes[0]);
  // Its closing leaves the others' focus as it was.
  QTest::mouseClick(documents[1].boxes[2], Qt::LeftButton);
  late->sub->close();
  bringBack(documents[1]);
  EXPECT_EQ(QApplication::focusWidget(), documents[1].boxes[2]);
}

// Switching maximized documents, the area hides the one being left while it still holds the
// focus, and Qt moves the focus on to the next box of the hidden document; maximizing and
// restoring hide and show the document too. None of that may move the box the user works in.
TEST_F(DocumentFocus, MaximizedDocumentsAreTakenUpWhereTheyWereLeft) {
  Document& first = documents[0];
  Document& second = documents[1];
  QTest::mouseClick(first.boxes[1], Qt::LeftButton);
  QTest::mouseClick(second.boxes[0], Qt::LeftButton);
  area.setActiveSubWindow(first.sub);
  settle();
  first.sub->showMaximized();
  settle();
  ASSERT_EQ(QApplication::focusWidget(), first.boxes[1]) << "maximizing";
  for (int round = 0; round < 3; ++round) {
    area.setActiveSubWindow(second.sub);
    settle();
    ASSERT_TRUE(second.sub->isMaximized());
    EXPECT_EQ(QApplication::focusWidget(), second.boxes[0]) << round;
    area.setActiveSubWindow(first.sub);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), first.boxes[1]) << round;
  }
  first.sub->showNormal();  // as cascading does
  settle();
  EXPECT_EQ(QApplication::focusWidget(), first.boxes[1]) << "restoring";
}

}  // namespace
}  // namespace tovakin::gui
