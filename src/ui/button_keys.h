#pragma once
// The keyboard of push buttons where the program decides it, not Qt's default-button machinery.
//
// Enter on a focused button presses it, as Space does, also in the dialogs whose buttons are
// neither default nor auto-default (there Enter elsewhere presses nothing). And a button's
// access key ("&E" in its caption) presses it at once instead of only focusing it when another
// control of the window claims the same key.
#include <QChar>
#include <QKeySequence>
#include <optional>
#include <string_view>

#include "ui/layer.h"

class QAbstractButton;
class QKeyEvent;

namespace tovakin::gui {

// Return and the keypad's Enter, without Ctrl, Alt or Meta, and not a key held down repeating.
bool isButtonEnterKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
bool isButtonEnterKey(const QKeyEvent& event);

// The access key of a caption: the character after a single "&" ("&&" shows an "&"), upper
// case; nullopt when the caption has none.
std::optional<QChar> accessKeyOf(const QString& caption);
// The key sequence of an access key as the keyboard sends it: Alt and the letter.
QKeySequence accessKeySequence(QChar key);

// Whether a key typed alone (no Ctrl, Alt or Meta; Shift allowed; not a key held down repeating)
// is the access key of the caption, as a message box's buttons take their letters without Alt.
bool isPlainAccessKey(int key, const QString& text, Qt::KeyboardModifiers modifiers, bool autoRepeat,
                      const QString& caption);
bool isPlainAccessKey(const QKeyEvent& event, const QString& caption);

// Makes Enter on the focused button press it (click() at once, while the button is enabled).
void pressOnEnter(QAbstractButton& button);

// Makes the button's access key press it at once, also when the key is claimed by another
// control of the window as well (Qt would then only move the focus to it).
void pressOnAccessKey(QAbstractButton& button);

}  // namespace tovakin::gui
