#pragma once
// A scripted error box for tests: answers from a queue (a default once it runs out) and
// records every text it was shown. Installs itself for its lifetime.
#include <deque>
#include <string>
#include <vector>

#include "platform/error_box.h"

namespace tovakin::testing {
using namespace tovakin::platform;

class ScriptedErrorBox final : public ErrorBox {
 public:
  explicit ScriptedErrorBox(ErrorAnswer fallback = ErrorAnswer::Ignore) : fallback_(fallback) {}
  ScriptedErrorBox(const ScriptedErrorBox&) = delete;
  ScriptedErrorBox& operator=(const ScriptedErrorBox&) = delete;

  void answer(ErrorAnswer a) { answers_.push_back(a); }
  ErrorAnswer show(const std::string& text, const std::string& title) override {
    shown.push_back(text);
    titles.push_back(title);
    if (answers_.empty()) return fallback_;
    ErrorAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }

  std::vector<std::string> shown;
  std::vector<std::string> titles;

 private:
  ErrorAnswer fallback_;
  std::deque<ErrorAnswer> answers_;
  Installed<ErrorBox> installed_ = installErrorBox(*this);
};

}  // namespace tovakin::testing
