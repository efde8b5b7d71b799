#pragma once
// The bounds the workbook targets open their inputs with. The reader's own defaults allow
// hundreds of megabytes, which is right for the program but lets a few bytes of zip header
// spend seconds and the fuzzer's memory limit on one input; these keep each input cheap while
// every bound is still checked and can still be crossed.
#include "platform/xlsx.h"

namespace tovakin::fuzz {

inline platform::xlsx::Limits workbookLimits() {
  platform::xlsx::Limits limits;
  limits.maxEntrySize = 4u << 20;
  limits.maxTotalSize = 16u << 20;
  limits.maxEntries = 1000;
  limits.maxCellsPerSheet = 100000;
  limits.maxFileSize = 4u << 20;
  return limits;
}

}  // namespace tovakin::fuzz
