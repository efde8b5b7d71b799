#pragma once
// The main window's rules as plain functions, so that each is tested without a window: where the
// window stands (stored in twips, shown in pixels, kept on a screen), how new documents are
// counted and captioned, and the order in which closing the window closes its documents.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "shell/layer.h"

namespace tovakin::gui {

// The window's outer rectangle (frame included) as stored: twips, as the stored values are.
struct Placement {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  bool operator==(const Placement&) const = default;
};

// Where the placement is kept: QSettings(kSettingsOrganization, kSettingsApplication), group
// kPlacementGroup.
inline constexpr const char* kSettingsOrganization = "Tovakin";
inline constexpr const char* kSettingsApplication = "Tovakin";
inline constexpr const char* kPlacementGroup = "Settings";
inline constexpr const char* kKeyLeft = "MainLeft";
inline constexpr const char* kKeyTop = "MainTop";
inline constexpr const char* kKeyWidth = "MainWidth";
inline constexpr const char* kKeyHeight = "MainHeight";

// The placement of a first start, when no value is stored.
Placement defaultPlacement();

// A stored value read as a number ("6500", " 1234.5 "); nullopt for text that is not one, so
// that the caller reports it.
std::optional<double> placementNumber(const QString& stored);
// A value as it is written: the text of a single-precision number.
QString placementText(double twips);

// Twips to the pixels of the designed 96 dots per inch (15 twips a pixel), rounded, and back.
QRect placementPixels(const Placement& twips);
Placement placementTwips(const QRect& pixels);

// What closing the window stores: nothing while it is minimized; otherwise its outer rectangle
// (a maximized window stores its maximized rectangle). A window still where the stored placement
// put it stores that placement unchanged, so that pixel rounding never moves it run by run.
std::optional<Placement> placementToStore(bool minimized, const QRect& frame,
                                          const std::optional<Placement>& restored = std::nullopt);

// The inside size that gives the outer size `frame` once the window manager's frame (`margins`:
// the outer size less the inside size) is round it; never below one pixel.
QSize insideSizeFor(const QSize& frame, const QSize& margins);

// The rectangle moved onto the desktop when no screen shows enough of it to take hold of it (at
// least kMinVisiblePixels across and down): a placement stored on a screen that is gone, or
// edited by hand. It is shrunk to the first screen's available area when it is larger and moved
// inside it. A rectangle that a screen shows stands where it is, shrunk to that screen's
// available area and moved inside it where it is larger, so that its caption and status bar can
// be reached. No screens: unchanged.
inline constexpr int kMinVisiblePixels = 48;
QRect keptOnScreen(const QRect& frame, const std::vector<QRect>& availableScreens);

// New documents. g_docCount counts every document window of the run (both modes) up to the
// limit; the numbered counter only the new, empty ones, whose captions it numbers.
inline constexpr std::int32_t kDocumentLimit = 999999;
enum class NewDocMode { Numbered = 0, ForFile = 1 };
bool atDocumentLimit(std::int32_t docCount);
// Counts one new document: nullopt at the limit (nothing counted); otherwise its caption,
// "管設計 N" for a numbered one and "" for one that a file will caption.
std::optional<QString> countNewDocument(NewDocMode mode, std::int32_t& docCount, std::int32_t& numbered);
QString numberedCaption(std::int32_t number);
// The message at the limit.
QString documentLimitMessage();

// Closing the main window: each document is asked in turn and the first that refuses stops the
// closing; true when every one has closed.
bool closeEachInTurn(const std::vector<std::function<bool()>>& closers);

// The message when no usable report writer is installed.
QString noExcelMessage();
inline constexpr int kFirstUsableExcel = 8;

}  // namespace tovakin::gui

namespace tovakin::gui {

// Where a new document window of `size` stands in an area whose visible part is `area`, with
// `others` windows already open: cascaded by `step` from the top left, starting again at the top
// left before its top-left corner would leave room for less than the whole window (a window
// larger than the area always starts at the top left), so that its caption can always be seen.
QPoint newDocumentPosition(const QRect& area, const QSize& size, int others, int step);

// The Window menu's arrangements of `count` document windows in an area: 上下に並べて表示 stacks
// them top to bottom at the full width (horizontal = true), 左右に並べて表示 puts them side by
// side at the full height. The last one takes what rounding leaves.
std::vector<QRect> tiledRects(const QRect& area, int count, bool horizontal);

}  // namespace tovakin::gui
