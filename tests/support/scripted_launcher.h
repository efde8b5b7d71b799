#pragma once
// A launcher for tests: records what the program asked the desktop for and answers from its
// fields; it starts nothing. Installs itself for its lifetime.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/launcher.h"

namespace tovakin::testing {
using namespace tovakin::gui;

class ScriptedLauncher : public Launcher {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
    bool operator==(const Started&) const = default;
  };

  // Answers.
  bool opens = true;
  bool starts = true;
  OpenOutcome fileOutcome = OpenOutcome::Started;
  std::map<std::string, DesktopProgram> programs;  // by extension as asked

  // What was asked.
  std::vector<std::string> urls;
  std::vector<std::string> files;
  std::vector<std::string> lookedUp;
  std::vector<Started> started;

  bool openUrl(const std::string& url) override {
    urls.push_back(url);
    return opens;
  }
  OpenOutcome openFile(const std::string& path) override {
    files.push_back(path);
    return fileOutcome;
  }
  std::optional<DesktopProgram> defaultProgramFor(const std::string& extension) override {
    lookedUp.push_back(extension);
    const auto it = programs.find(extension);
    if (it == programs.end()) return std::nullopt;
    return it->second;
  }
  bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
    started.push_back({program, arguments});
    return starts;
  }

 private:
  Installed<Launcher> installed_ = installLauncher(*this);
};

}  // namespace tovakin::testing
