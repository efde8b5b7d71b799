#pragma once
// Whether another program holds a file.
#include <cstdint>
#include <string>
#include "app/layer.h"

namespace tovakin::app {

// -1 for an empty path; 1 when another process holds a lock on the file, or a spreadsheet
// program's lock file ".~lock.NAME#" stands beside it; 0 when the file is free or not there.
std::int16_t myFileInUse(const std::string& path);

// The same test, as the save flow and the report file-name choice call it.
std::int16_t myFileInUseCheck(const std::string& path);

}  // namespace tovakin::app
