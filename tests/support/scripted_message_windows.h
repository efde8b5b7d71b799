#pragma once
// The program's own message windows answered from a script: a modal message is not run in a
// modal loop but answered at once by clicking one of its buttons, after recording what it
// showed and the state of the program at that moment. Installs itself for its lifetime.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

#include "document/frm_message.h"

namespace tovakin::testing {
using namespace tovakin::gui;

// The message windows that exist now (shown or not).
inline int liveMessageWindows() {
  int count = 0;
  for (QWidget* w : QApplication::allWidgets())
    if (qobject_cast<frmMessage*>(w)) ++count;
  return count;
}

class ScriptedMessageWindows final : public MessageModality {
 public:
  struct Shown {
    int mode;
    QString title, text;
    int liveWindows;    // message windows in existence while this one waits
    bool visibleOther;  // another message window is on screen
    QWidget* owner;
  };

  // Queue the button that answers the next modal message: 1 はい, 0 いいえ or 閉じる. With none
  // queued, button 0 answers.
  void answer(int buttonIndex) { answers.push_back(buttonIndex); }

  // Runs while a message waits, before its button is clicked.
  std::function<void(frmMessage&)> during;

  void runModal(frmMessage& window) override {
    bool otherShown = false;
    for (QWidget* w : QApplication::allWidgets())
      if (auto* m = qobject_cast<frmMessage*>(w); m && m != &window && m->isVisible()) otherShown = true;
    shown.push_back({window.frmMessageSrc, window.windowTitle(), window.lblMessage()->text(), liveMessageWindows(),
                     otherShown, window.parentWidget()});
    if (during) during(window);
    int index = 0;
    if (!answers.empty()) {
      index = answers.front();
      answers.pop_front();
    }
    QPushButton* button = window.cmdCommand(index);
    if (!button->isEnabled()) {
      ADD_FAILURE() << "the scripted button " << index << " is not there to click";
      button = window.cmdCommand(0);
    }
    button->click();
  }

  std::deque<int> answers;
  std::vector<Shown> shown;

 private:
  Installed<MessageModality> installed_ = installMessageModality(*this);
};

}  // namespace tovakin::testing
