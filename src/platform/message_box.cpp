#include "platform/message_box.h"

#include <cstdio>

namespace tovakin::platform {
namespace {

const char* buttonsName(MsgButtons b) {
  switch (b) {
    case MsgButtons::OK: return "OK";
    case MsgButtons::OKCancel: return "OK/Cancel";
    case MsgButtons::AbortRetryIgnore: return "Abort/Retry/Ignore";
    case MsgButtons::YesNoCancel: return "Yes/No/Cancel";
    case MsgButtons::YesNo: return "Yes/No";
    case MsgButtons::RetryCancel: return "Retry/Cancel";
    case MsgButtons::YesNoDefaultNo: return "Yes/No, No default";
  }
  return "";
}

const char* answerName(MsgAnswer a) {
  switch (a) {
    case MsgAnswer::OK: return "OK";
    case MsgAnswer::Cancel: return "Cancel";
    case MsgAnswer::Abort: return "Abort";
    case MsgAnswer::Retry: return "Retry";
    case MsgAnswer::Ignore: return "Ignore";
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
  }
  return "";
}

class StderrMessageBox : public MessageBoxService {
 public:
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon, const std::string& title) override {
    MsgAnswer a = safeAnswer(buttons);
    std::fprintf(stderr, "[%s] %s (%s -> %s)\n", title.c_str(), text.c_str(), buttonsName(buttons), answerName(a));
    return a;
  }
};

StderrMessageBox g_defaultBox;
MessageBoxService* g_box = nullptr;

}  // namespace

MsgAnswer safeAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return MsgAnswer::OK;
    case MsgButtons::OKCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo: return MsgAnswer::No;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
  }
  return MsgAnswer::OK;
}

MessageBoxService& messageBox() { return g_box ? *g_box : g_defaultBox; }

Installed<MessageBoxService> installMessageBox(MessageBoxService& box) { return {g_box, &box}; }

MsgAnswer msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  return messageBox().show(text, buttons, icon, title.empty() ? std::string(kAppTitle) : title);
}

}  // namespace tovakin::platform
