#pragma once
// The start-up of the program up to the point where the main window is created.
#include <cstdint>
#include <functional>
#include <string>
#include "app/layer.h"

namespace tovakin::app {

// Makes sure TOVAKIN.INI exists (created with the built-in values when missing) and tells
// whether another program holds the pipe-material workbook: 1 when it does, else 0.
std::int32_t MyFileCheck();

enum class StartupOutcome {
  Ready,           // the main window may be created
  WorkbookInUse,   // the refusal was shown; the program must end
};

// The progress texts shown before each step (the splash shows them; headless runs ignore them).
using StartupProgress = std::function<void(const std::string&)>;

// Busy cursor on, then MyFlagSet, MyFileCheck (with the refusal message), the pipe database
// rebuild from the pipe-material workbook (`rebuildDatabase`: the calculation layer owns the
// database, so the caller passes it in) and myAppSetting, each announced through `progress`. The last text announces the main
// window; the caller creates it and switches the busy cursor off.
// Abort in an error box throws ProgramAborted.
StartupOutcome runStartup(const std::function<void()>& rebuildDatabase, const StartupProgress& progress = {});

}  // namespace tovakin::app
