#include "shell/main_window_rules.h"

#include <algorithm>
#include <cmath>

#include "shell/form_helpers.h"

namespace tovakin::gui {

Placement defaultPlacement() { return {1000, 1000, 6500, 6500}; }

std::optional<double> placementNumber(const QString& stored) {
  bool ok = false;
  // QString::toDouble reads the C locale's point whatever the user's locale.
  const double value = stored.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

QString placementText(double twips) { return QString::number(static_cast<float>(twips), 'g', 7); }

namespace {
int toPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
}  // namespace

QRect placementPixels(const Placement& twips) {
  return {toPixels(twips.left), toPixels(twips.top), toPixels(twips.width), toPixels(twips.height)};
}

Placement placementTwips(const QRect& pixels) {
  return {double(pixels.x()) * kTwipsPerPixel, double(pixels.y()) * kTwipsPerPixel,
          double(pixels.width()) * kTwipsPerPixel, double(pixels.height()) * kTwipsPerPixel};
}

std::optional<Placement> placementToStore(bool minimized, const QRect& frame,
                                          const std::optional<Placement>& restored) {
  if (minimized) return std::nullopt;
  if (restored && placementPixels(*restored) == frame) return restored;
  return placementTwips(frame);
}

QSize insideSizeFor(const QSize& frame, const QSize& margins) {
  return {std::max(1, frame.width() - std::max(0, margins.width())),
          std::max(1, frame.height() - std::max(0, margins.height()))};
}

namespace {
// The rectangle shrunk to the screen where it is larger, then moved inside it.
QRect fittedInto(const QRect& frame, const QRect& target) {
  const int width = std::clamp(frame.width(), 1, target.width());
  const int height = std::clamp(frame.height(), 1, target.height());
  const int left = std::clamp(frame.x(), target.left(), target.left() + target.width() - width);
  const int top = std::clamp(frame.y(), target.top(), target.top() + target.height() - height);
  return {left, top, width, height};
}
}  // namespace

QRect keptOnScreen(const QRect& frame, const std::vector<QRect>& availableScreens) {
  if (availableScreens.empty()) return frame;
  for (const QRect& screen : availableScreens) {
    const QRect shown = screen.intersected(frame);
    if (shown.width() >= std::min(kMinVisiblePixels, frame.width()) &&
        shown.height() >= std::min(kMinVisiblePixels, frame.height()) && !shown.isEmpty()) {
      if (frame.width() <= screen.width() && frame.height() <= screen.height()) return frame;
      return fittedInto(frame, screen);
    }
  }
  return fittedInto(frame, availableScreens.front());
}

QPoint newDocumentPosition(const QRect& area, const QSize& size, int others, int step) {
  if (step <= 0) return area.topLeft();
  // How many steps fit before the window would reach past the area's right or bottom edge.
  const int across = (area.width() - size.width()) / step;
  const int down = (area.height() - size.height()) / step;
  const int places = std::max(1, std::min(across, down) + 1);
  const int k = std::max(0, others) % places;
  return area.topLeft() + QPoint(k * step, k * step);
}

bool atDocumentLimit(std::int32_t docCount) { return docCount >= kDocumentLimit; }

QString numberedCaption(std::int32_t number) { return QStringLiteral("管設計 ") + QString::number(number); }

std::optional<QString> countNewDocument(NewDocMode mode, std::int32_t& docCount, std::int32_t& numbered) {
  if (atDocumentLimit(docCount)) return std::nullopt;
  ++docCount;
  if (mode == NewDocMode::ForFile) return QString();
  ++numbered;
  return numberedCaption(numbered);
}

QString documentLimitMessage() {
  return QStringLiteral("これ以上文書を新規に開くことは出来ません。\n本アプリケーションを再起動して作業して下さい。");
}

bool closeEachInTurn(const std::vector<std::function<bool()>>& closers) {
  for (const auto& close : closers)
    if (!close()) return false;
  return true;
}

QString noExcelMessage() {
  return QStringLiteral("本プログラムでは Excel 97 以降が必要です。\nインストールされていない場合、データ入力のみ可能です。");
}

}  // namespace tovakin::gui

namespace tovakin::gui {

std::vector<QRect> tiledRects(const QRect& area, int count, bool horizontal) {
  std::vector<QRect> rects;
  if (count <= 0) return rects;
  const int total = horizontal ? area.height() : area.width();
  const int each = total / count;
  for (int i = 0; i < count; ++i) {
    const int start = i * each;
    const int length = i == count - 1 ? total - start : each;
    if (horizontal) rects.emplace_back(area.x(), area.y() + start, area.width(), length);
    else rects.emplace_back(area.x() + start, area.y(), length, area.height());
  }
  return rects;
}

}  // namespace tovakin::gui
