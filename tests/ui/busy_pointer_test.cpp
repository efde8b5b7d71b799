#include "ui/busy_pointer.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <memory>
#include <optional>
#include <vector>

namespace tovakin::gui {
namespace {

// How many entries Qt's override stack holds, and the pointer on top.
struct OverrideStack {
  int depth = 0;
  std::optional<Qt::CursorShape> top;
};

OverrideStack takeOverrideStack() {
  OverrideStack stack;
  if (QGuiApplication::overrideCursor()) stack.top = QGuiApplication::overrideCursor()->shape();
  while (QGuiApplication::overrideCursor()) {
    QGuiApplication::restoreOverrideCursor();
    ++stack.depth;
  }
  return stack;
}

enum class Step { On, Off, BoxUp, BoxDown };

struct PointerCase {
  const char* name;
  std::vector<Step> steps;
  int depth;  // our entries on the stack afterwards: never more than one
};

class BusyPointer : public ::testing::TestWithParam<PointerCase> {
 protected:
  void TearDown() override {
    boxes_.clear();
    setBusyPointer(false);
    takeOverrideStack();
  }
  std::vector<std::unique_ptr<ModalPointer>> boxes_;
};

TEST_P(BusyPointer, IsASwitchNotAStack) {
  QtBusyCursor cursor;
  const auto installed = installBusyCursor(cursor);
  for (Step s : GetParam().steps) {
    switch (s) {
      case Step::On: 砂時計(true); break;
      case Step::Off: 砂時計(false); break;
      case Step::BoxUp: boxes_.push_back(std::make_unique<ModalPointer>()); break;
      case Step::BoxDown: boxes_.pop_back(); break;
    }
  }
  EXPECT_EQ(busyPointerShown(), GetParam().depth == 1);
  const OverrideStack stack = takeOverrideStack();
  EXPECT_EQ(stack.depth, GetParam().depth);
  if (GetParam().depth == 1) {
    EXPECT_EQ(stack.top, Qt::WaitCursor);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, BusyPointer,
    ::testing::Values(PointerCase{"OnOnce", {Step::On}, 1},
                      PointerCase{"OnTwiceOffOnce", {Step::On, Step::On, Step::Off}, 0},
                      PointerCase{"OnThrice", {Step::On, Step::On, Step::On}, 1},
                      PointerCase{"OffWithoutOn", {Step::Off, Step::Off}, 0},
                      PointerCase{"ArrowWhileABoxIsUp", {Step::On, Step::BoxUp}, 0},
                      PointerCase{"BusyAgainAfterTheBox", {Step::On, Step::BoxUp, Step::BoxDown}, 1},
                      PointerCase{"NestedBoxes", {Step::On, Step::BoxUp, Step::BoxUp, Step::BoxDown}, 0},
                      PointerCase{"NestedBoxesClosed", {Step::On, Step::BoxUp, Step::BoxUp, Step::BoxDown, Step::BoxDown}, 1},
                      PointerCase{"SwitchedOffDuringTheBox", {Step::On, Step::BoxUp, Step::Off, Step::BoxDown}, 0},
                      PointerCase{"SwitchedOnDuringTheBox", {Step::BoxUp, Step::On, Step::BoxDown}, 1},
                      PointerCase{"BoxWithoutBusy", {Step::BoxUp, Step::BoxDown}, 0}),
    [](const ::testing::TestParamInfo<PointerCase>& info) { return std::string(info.param.name); });

TEST(BusyPointerStack, LeavesAnotherOverrideOfQtAlone) {
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  setBusyPointer(true);
  setBusyPointer(false);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
  const OverrideStack stack = takeOverrideStack();
  EXPECT_EQ(stack.depth, 1);
}

}  // namespace
}  // namespace tovakin::gui
