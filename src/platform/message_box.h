#pragma once
// The platform's message box. The windows install a real one, tests a scripted one; the default
// writes the text to standard error and answers the safe button (OK, else Cancel, else No).
#include <string>

#include "platform/service.h"

namespace tovakin::platform {

// YesNoDefaultNo: Yes and No with No the default, for a question that guards a slip of the
// keyboard (an unusual value typed in the same Enter rhythm is not adopted by Enter alone).
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel, YesNoDefaultNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { OK, Cancel, Abort, Retry, Ignore, Yes, No };

// The title a message box carries when it is given none.
inline constexpr const char* kAppTitle = "Tovakin";

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) = 0;
};

// The answer the headless box gives for a set of buttons.
MsgAnswer safeAnswer(MsgButtons buttons);

// The installed box (the headless default without one).
MessageBoxService& messageBox();
// Installs a box until the guard goes out of scope.
Installed<MessageBoxService> installMessageBox(MessageBoxService& box);

// Shows a message on the installed box; an empty title becomes the application title.
MsgAnswer msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                 const std::string& title = "");

}  // namespace tovakin::platform
