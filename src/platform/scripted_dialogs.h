#pragma once
// Dialog and message-box doubles that answer from a script: used by tests and by headless runs.
#include <deque>
#include <string>
#include <vector>

#include "platform/common_dialog.h"
#include "platform/message_box.h"

namespace tovakin {

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
  DialogOutcome next(Kind kind);
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

  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;

  std::deque<MsgAnswer> answers;
  std::vector<Shown> shown;
};

// Installs a box for the lifetime of the guard and restores the previous one afterwards.
class MessageBoxScope {
 public:
  explicit MessageBoxScope(MessageBoxService& box) : previous_(setMessageBox(&box)) {}
  ~MessageBoxScope() { setMessageBox(previous_); }
  MessageBoxScope(const MessageBoxScope&) = delete;
  MessageBoxScope& operator=(const MessageBoxScope&) = delete;

 private:
  MessageBoxService* previous_;
};

}  // namespace tovakin
