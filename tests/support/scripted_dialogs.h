#pragma once
// Dialog and message-box doubles that answer from a script.
#include <deque>
#include <utility>
#include <string>
#include <vector>

#include "platform/common_dialog.h"
#include "platform/message_box.h"

namespace tovakin::testing {
using namespace tovakin::platform;

class ScriptedCommonDialog : public CommonDialog {
 public:
  struct Step {
    DialogOutcome outcome = DialogOutcome::Cancelled;
    std::string fileName;  // put into FileName on Ok
  };
  enum class Kind { Open, Save };
  struct Call {
    Kind kind;
    std::string title, filter, initDir, fileName;
    long flags;
  };

  // Queue one answer. With nothing queued a dialog is cancelled.
  void answerOk(std::string fileName) { script.push_back({DialogOutcome::Ok, std::move(fileName)}); }
  void answerCancel() { script.push_back({DialogOutcome::Cancelled, {}}); }

  DialogOutcome ShowOpen() override { return next(Kind::Open); }
  DialogOutcome ShowSave() override { return next(Kind::Save); }

  std::deque<Step> script;
  std::vector<Call> calls;

 private:
  DialogOutcome next(Kind kind) {
    calls.push_back({kind, DialogTitle, Filter, InitDir, FileName, Flags});
    if (script.empty()) return DialogOutcome::Cancelled;
    Step step = std::move(script.front());
    script.pop_front();
    if (step.outcome == DialogOutcome::Ok) FileName = std::move(step.fileName);
    return step.outcome;
  }
};

class ScriptedMessageBox : public MessageBoxService {
 public:
  struct Shown {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
  };

  // Queue one answer. With nothing queued the box answers the safe button.
  void answer(MsgAnswer a) { answers.push_back(a); }

  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    shown.push_back({text, buttons, icon, title});
    if (answers.empty()) return safeAnswer(buttons);
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }

  std::deque<MsgAnswer> answers;
  std::vector<Shown> shown;
};

}  // namespace tovakin::testing
