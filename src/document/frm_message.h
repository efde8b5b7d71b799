#pragma once
// The program's own message window, used by the calculation run in three ways chosen by its
// mode: a progress notice without buttons that stays up while the program works (-1), a Yes/No
// question (4) and a message with a close button (every other value, 0 in use). One window per
// message; the answer of a modal one lands in g_messageAnswer.
#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/service.h"
#include "ui/layer.h"

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace tovakin::gui {

// The answer of the last modal message: 6 はい, 7 いいえ, 0 閉じる in mode 0. The caller sets it
// to 0 before it shows a modal message.
extern std::int32_t g_messageAnswer;

inline constexpr int kMessageNotice = -1;
inline constexpr int kMessageYesNo = 4;
inline constexpr int kMessageClose = 0;
inline constexpr std::int32_t kAnswerYes = 6;
inline constexpr std::int32_t kAnswerNo = 7;

// The answer a click stores: the mode at the moment of the click and the button's index
// (0 the right button, 1 the left one).
std::int32_t messageAnswerFor(int mode, int buttonIndex);

// A message window has no window-manager frame: no close, minimize or maximize box on any
// desktop. It draws its own caption bar (which moves it) and border.
Qt::WindowFlags messageWindowFlags();

class frmMessage : public QDialog {
  Q_OBJECT
 public:
  // The mode decides the buttons here, once: changing frmMessageSrc later changes the answer a
  // click stores but not the buttons.
  explicit frmMessage(int mode, QWidget* parent = nullptr);

  int frmMessageSrc;

  // The text of lblMessage; the window grows so that a long text or a wider face is not cut.
  void setMessage(const QString& text);

  // A notice: shown without taking the focus and painted at once, without running the
  // program's other events, so that no command runs inside the caller's work.
  void showNotice();
  // A question or close-button message: g_messageAnswer := 0, then modal until a button is
  // clicked; returns g_messageAnswer. A question opens with はい focused, so that Enter answers
  // it, unless it guards a slip (setNoFocused): then いいえ is, and Enter alone adopts nothing.
  std::int32_t showModal();
  void setNoFocused(bool noFocused) { noFocused_ = noFocused; }
  // The program takes the window down (a notice at the end of its work).
  void unload();

  QLabel* lblMessage() const { return message_; }
  // The caption bar the window draws itself; it shows the window's title.
  QLabel* captionBar() const { return caption_; }
  QPushButton* cmdCommand(int index) const { return index == 0 ? right_ : left_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void clicked(int index);
  void relayout();
  int captionBarHeight() const;

  QLabel* caption_ = nullptr;
  QLabel* message_ = nullptr;
  QPushButton* right_ = nullptr;  // cmdCommand(0)
  QPushButton* left_ = nullptr;   // cmdCommand(1)
  bool unloading_ = false;
  bool noFocused_ = false;
};

// How a question or close-button message waits for its answer: without one installed, Qt's
// modal loop. Tests install a double that answers by clicking one of the window's buttons, so no
// modal loop runs in a test.
class MessageModality {
 public:
  virtual ~MessageModality() = default;
  // Returns once a button of the window has been clicked (the click has unloaded it).
  virtual void runModal(frmMessage& window) = 0;
};
// Installs a modality until the guard goes out of scope.
Installed<MessageModality> installMessageModality(MessageModality& modality);

inline constexpr const char* kMessageCaption = "計算中です";
inline constexpr const char* kMessageDesignedText = "計算中です。しばらくお待ち下さい。";

}  // namespace tovakin::gui
