#pragma once
// The message box and the error box of the windows, over QMessageBox.
//
// Buttons stand left to right in the order the program knows from its boxes (はい before いいえ,
// 中止 before 再試行 before 無視) whatever button order the desktop prefers, and the first one is
// the default unless the box names another (いいえ of a question that guards a slip). Escape and the window's close button answer only where the box has a harmless
// answer for them (Cancel, or OK in a box with nothing else); in a Yes/No box, and in the error
// box, whose 中止 ends the program, they do nothing: the user must choose.
#include <QMessageBox>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/layer.h"

namespace tovakin::gui {

struct BoxButton {
  MsgAnswer answer;
  QString text;
};

// What a box shows, decided before it is shown.
struct BoxContent {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<BoxButton> buttons;     // left to right; the first is the default unless named below
  std::optional<MsgAnswer> defaultAnswer;  // the default button, when it is not the first
  std::optional<MsgAnswer> escape;    // the answer of Escape and the close button; none: they do nothing
};

BoxContent messageBoxContent(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title);
BoxContent errorBoxContent(const std::string& text, const std::string& title);

// The object name of the button that gives an answer ("cmdYes", "cmdAbort", ...).
QString buttonObjectName(MsgAnswer answer);

// The error box's reading of an answer of its three buttons.
ErrorAnswer errorAnswerOf(MsgAnswer answer);

// Both boxes are shown modally over the active window, with the ordinary pointer.
// The window a box opens over when no window of the program is active (the moment between two
// boxes, a file a later start handed over): the main window, set once it is made.
void setBoxOwnerOfLastResort(QWidget* window);
// The owner of the next box: the active modal dialog, else the active window, else the window of
// last resort.
QWidget* boxOwner();

inline constexpr const char* kMessageBoxObjectName = "msgBox";
inline constexpr const char* kErrorBoxObjectName = "errorBox";

class QtMessageBox final : public MessageBoxService {
 public:
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
};

class QtErrorBox final : public ErrorBox {
 public:
  ErrorAnswer show(const std::string& text, const std::string& title) override;
};

}  // namespace tovakin::gui
