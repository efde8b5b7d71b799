#include "platform/scripted_dialogs.h"

namespace tovakin {

DialogOutcome ScriptedCommonDialog::next(Kind kind) {
  calls.push_back({kind, DialogTitle, Filter, InitDir, FileName, Flags});
  if (script.empty()) return DialogOutcome::Cancelled;
  Step step = std::move(script.front());
  script.pop_front();
  if (step.outcome == DialogOutcome::Ok) FileName = std::move(step.fileName);
  return step.outcome;
}

MsgAnswer ScriptedMessageBox::show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                   const std::string& title) {
  shown.push_back({text, buttons, icon, title});
  if (answers.empty()) return safeAnswer(buttons);
  MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace tovakin
