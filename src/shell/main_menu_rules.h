#pragma once
// The rules behind the main window's View, Window and Help menus and its toolbar, as plain
// functions: what the spreadsheet items say and allow, when the arrangements are offered, which
// command a toolbar button runs, and where each arrangement puts the document windows.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

// The View menu's two spreadsheet items as they stand when the menu opens. "Found" means that the
// desktop has a program for workbooks (.xlsx); the pipe-material workbook is offered only while no
// document is open, since the documents hold pipe data read from it.
struct ViewMenuState {
  QString excelCaption;
  bool excelEnabled = false;
  QString kanzaiCaption;
  bool kanzaiEnabled = false;
  bool operator==(const ViewMenuState&) const = default;
};
ViewMenuState viewMenuState(bool spreadsheetFound, bool documentOpen);

// The type whose desktop program the spreadsheet items use.
inline constexpr const char* kWorkbookExtension = "xlsx";

// The question before the pipe-material workbook is opened, and its title.
QString kanzaiQuestion();
inline constexpr const char* kKanzaiQuestionTitle = "Excelの起動";

// The four arrangements of the Window menu are offered only while a document window is open.
bool arrangementsEnabled(int documentCount);

// What a toolbar button runs, by its key (compared exactly).
enum class ToolbarCommand { NewDocument, Open, Save, None };
ToolbarCommand toolbarCommand(const QString& key);

// 重ねて表示: the windows in a staircase from the area's top left, each `step` pixels right of and
// below the one before, all of one size: three quarters of the area. When the next step would push
// a window out of the area the staircase starts again at the top left.
std::vector<QRect> cascadeRects(const QRect& area, int count, int step);

// ｱｲｺﾝの整列: minimized windows lined up along the bottom of the area, left to right in the order
// given, each at its own size; a row that is full continues in a row above it.
struct IconLayout {
  std::vector<QPoint> positions;
  int top = 0;  // the top of the highest row: the other windows are arranged above it
};
IconLayout iconLayout(const QRect& area, const std::vector<QSize>& sizes);

}  // namespace tovakin::gui
