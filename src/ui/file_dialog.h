#pragma once
// The program's one open / save dialog over Qt's own file dialog (not the desktop's), so that it
// looks and behaves the same on every desktop and in tests.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <string>

#include "platform/common_dialog.h"
#include "ui/layer.h"

class QWidget;

namespace tovakin::gui {

// Qt name filters from a "description|pattern|description|pattern" filter: patterns separated
// by ";" become Qt's blank-separated list, "*.*" (every file on the original platform) becomes
// "*", and a description that already shows its patterns in parentheses is not given them twice.
QStringList qtNameFilters(const std::string& filter);

// Where the dialog opens and the name it proposes: a FileName with a folder that exists opens
// there (as the original dialog did, over InitDir); otherwise InitDir, with FileName's own name.
struct StartLocation {
  QString directory;  // "" lets the dialog choose
  QString fileName;   // "" proposes nothing
};
StartLocation startLocation(const std::string& fileName, const std::string& initDir);

inline constexpr const char* kFileDialogObjectName = "dlgCommonDialog";

// Where a window stands that must stay in sight beside the file dialog (a notice that says what
// to choose): centred over the dialog's frame and above it when the screen has room, else below
// it, else to its right, else to its left (centred on its height), else at the top of the screen;
// never further left or right than the screen allows. All rectangles are outer frames; the result
// is the window's outer top-left.
QPoint besideDialog(const QRect& dialogFrame, const QSize& windowFrame, const QRect& screen);

// A window's outer frame. Until the window manager has told the program how wide the frame it
// draws is, the frame geometry is the bare window's; the frame of the owner window (drawn by the
// same manager) then stands for it, as it does for a reported frame that does not hold the window.
// A frameless window is its own frame.
QRect outerFrameOf(const QRect& geometry, const QRect& frame, bool framed, const QRect& ownerGeometry,
                   const QRect& ownerFrame);

// The window the file dialogs keep in sight while this object lives: the caller holds one around
// its request for a file. The dialog is reached through the platform's CommonDialog, which knows
// no windows, so the window is kept here for the one modal request, not passed through it.
class KeepBesideFileDialog {
 public:
  explicit KeepBesideFileDialog(QWidget* window);
  ~KeepBesideFileDialog();
  KeepBesideFileDialog(const KeepBesideFileDialog&) = delete;
  KeepBesideFileDialog& operator=(const KeepBesideFileDialog&) = delete;
};

class QtCommonDialog final : public CommonDialog {
 public:
  DialogOutcome ShowOpen() override;
  DialogOutcome ShowSave() override;

 private:
  DialogOutcome show(bool save);
};

}  // namespace tovakin::gui
