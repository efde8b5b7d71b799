#pragma once
// The program's own message windows answered from a script: a modal message is answered at once
// by clicking one of its buttons (no modal loop runs), after recording what it showed and how
// many message windows existed meanwhile. Installs itself for its lifetime.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <deque>
#include <functional>
#include <vector>

#include "document/frm_message.h"

namespace tovakin::testing {
using namespace tovakin::gui;

inline int liveMessageWindows() {
  int count = 0;
  for (QWidget* w : QApplication::allWidgets()) count += qobject_cast<frmMessage*>(w) != nullptr;
  return count;
}

class ScriptedMessageWindows final : public MessageModality {
 public:
  struct Shown {
    int mode;
    QString title, text;
    int liveWindows;  // message windows in existence while this one waits
    QWidget* owner;
    QString focused;  // the object name of the button that has the focus as it opens
  };
  // The button that answers the next message: 1 はい, 0 いいえ or 閉じる (also with none queued).
  void answer(int buttonIndex) { answers.push_back(buttonIndex); }
  std::function<void(frmMessage&)> during;  // runs while a message waits

  void runModal(frmMessage& window) override {
    shown.push_back({window.frmMessageSrc, window.windowTitle(), window.lblMessage()->text(), liveMessageWindows(),
                     window.parentWidget(), window.focusWidget() ? window.focusWidget()->objectName() : QString()});
    if (during) during(window);
    const int index = answers.empty() ? 0 : answers.front();
    if (!answers.empty()) answers.pop_front();
    window.cmdCommand(index)->click();  // a hidden button does nothing, and the test sees no answer
  }

  std::deque<int> answers;
  std::vector<Shown> shown;

 private:
  Installed<MessageModality> installed_ = installMessageModality(*this);
};

}  // namespace tovakin::testing
