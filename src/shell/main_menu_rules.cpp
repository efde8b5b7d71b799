#include "shell/main_menu_rules.h"

#include <algorithm>

namespace tovakin::gui {

ViewMenuState viewMenuState(bool spreadsheetFound, bool documentOpen) {
  if (!spreadsheetFound)
    return {QStringLiteral("Excelが見つかりません"), false, QStringLiteral("Excelが見つからないので管材情報を開けません"),
            false};
  if (documentOpen)
    return {QStringLiteral("Microsoft Excel を起動(&E)"), true, QStringLiteral("ﾃﾞｰﾀ編集中は管材情報を開けません"), false};
  return {QStringLiteral("Microsoft Excel を起動(&E)"), true, QStringLiteral("Excelで管材情報を開く(&K)"), true};
}

QString kanzaiQuestion() {
  return QStringLiteral("管材データの変更は次回起動時より有効になります。\nExcel を起動しますか？");
}

bool arrangementsEnabled(int documentCount) { return documentCount > 0; }

ToolbarCommand toolbarCommand(const QString& key) {
  if (key == QStringLiteral("新規作成")) return ToolbarCommand::NewDocument;
  if (key == QStringLiteral("開く")) return ToolbarCommand::Open;
  if (key == QStringLiteral("上書き保存")) return ToolbarCommand::Save;
  return ToolbarCommand::None;
}

std::vector<QRect> cascadeRects(const QRect& area, int count, int step) {
  std::vector<QRect> rects;
  if (count <= 0 || area.isEmpty()) return rects;
  const QSize size(std::max(1, area.width() * 3 / 4), std::max(1, area.height() * 3 / 4));
  step = std::max(1, step);
  // How many windows one staircase holds before a window would leave the area.
  const int room = std::min(area.width() - size.width(), area.height() - size.height());
  const int perRun = std::max(1, room / step + 1);
  for (int i = 0; i < count; ++i) {
    const int k = i % perRun;
    rects.emplace_back(area.topLeft() + QPoint(k * step, k * step), size);
  }
  return rects;
}

IconLayout iconLayout(const QRect& area, const std::vector<QSize>& sizes) {
  IconLayout layout;
  layout.top = area.y() + area.height();
  int x = area.x();
  int rowBottom = area.y() + area.height();  // one past the row's lowest pixel
  int rowHeight = 0;
  for (const QSize& size : sizes) {
    // A row that cannot take this one continues above, unless the row is still empty.
    if (x > area.x() && x + size.width() > area.x() + area.width()) {
      rowBottom -= rowHeight;
      x = area.x();
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, size.height());
    const QPoint at(x, rowBottom - size.height());
    layout.positions.push_back(at);
    layout.top = std::min(layout.top, at.y());
    x += size.width();
  }
  return layout;
}

}  // namespace tovakin::gui
