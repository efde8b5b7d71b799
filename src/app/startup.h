#pragma once
// The start-up of the program up to the point where the main window is created.
#include <cstdint>
#include <functional>
#include <string>

namespace tovakin {

// Makes sure TOVAKIN.INI exists (created with the built-in values when missing) and tells
// whether another program holds the pipe-material workbook: 1 when it does, else 0.
std::int32_t MyFileCheck();

// The pipe database rebuild from the pipe-material workbook, run at every start between the
// file check and the settings. Empty until the database is wired in.
extern std::function<void()> rebuildPipeDatabase;

enum class StartupOutcome {
  Ready,           // the main window may be created
  WorkbookInUse,   // the refusal was shown; the program must end
};

// The progress texts shown before each step (the splash shows them; headless runs ignore them).
using StartupProgress = std::function<void(const std::string&)>;

// Busy cursor on, then MyFlagSet, MyFileCheck (with the refusal message), the database rebuild
// and myAppSetting, each announced through `progress`. The last text announces the main
// window; the caller creates it and switches the busy cursor off.
// Abort in an error box throws ProgramAborted.
StartupOutcome runStartup(const StartupProgress& progress = {});

}  // namespace tovakin
