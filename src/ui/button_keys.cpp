#include "ui/button_keys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QShortcutEvent>

namespace tovakin::gui {

namespace {

// One filter per button, owned by it.
class ButtonKeys final : public QObject {
 public:
  enum Kind { Enter, AccessKey };
  ButtonKeys(QAbstractButton& button, Kind kind) : QObject(&button), button_(button), kind_(kind) {
    button.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &button_ || !button_.isEnabled()) return false;
    if (kind_ == Enter && event->type() == QEvent::KeyPress &&
        isButtonEnterKey(*static_cast<QKeyEvent*>(event))) {
      event->accept();
      button_.click();
      return true;
    }
    if (kind_ == AccessKey && event->type() == QEvent::Shortcut) {
      event->accept();
      button_.click();
      return true;
    }
    return false;
  }

 private:
  QAbstractButton& button_;
  Kind kind_;
};

}  // namespace

bool isButtonEnterKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  if (autoRepeat) return false;
  return (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
}

bool isButtonEnterKey(const QKeyEvent& event) {
  return isButtonEnterKey(event.key(), event.modifiers(), event.isAutoRepeat());
}

std::optional<QChar> accessKeyOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] == QLatin1Char('&')) {
      ++i;  // "&&" is an "&" shown as itself
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return std::nullopt;
}

bool isPlainAccessKey(int key, const QString& text, Qt::KeyboardModifiers modifiers, bool autoRepeat,
                      const QString& caption) {
  if (autoRepeat || (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return false;
  const auto letter = accessKeyOf(caption);
  if (!letter) return false;
  // The key code names the key whatever the layout's shift state; a key without a code of its own
  // (an input method's) is read from its text.
  if (key > 0 && key < 0x80) return QChar(key).toUpper() == *letter;
  return text.size() == 1 && text[0].toUpper() == *letter;
}

bool isPlainAccessKey(const QKeyEvent& event, const QString& caption) {
  return isPlainAccessKey(event.key(), event.text(), event.modifiers(), event.isAutoRepeat(), caption);
}

QKeySequence accessKeySequence(QChar key) { return QKeySequence(QStringLiteral("Alt+") + key.toUpper()); }

void pressOnEnter(QAbstractButton& button) { new ButtonKeys(button, ButtonKeys::Enter); }

void pressOnAccessKey(QAbstractButton& button) { new ButtonKeys(button, ButtonKeys::AccessKey); }

}  // namespace tovakin::gui
