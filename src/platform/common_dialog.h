#pragma once
// The open / save file dialog object the program shares between all its windows. It keeps its
// properties between uses; callers take the chosen path back from FileName.
#include <string>
#include <utility>
#include <vector>

#include "platform/service.h"

namespace tovakin::platform {

enum class DialogOutcome { Ok, Cancelled };

// Flags the program sets on the dialog.
namespace cdl {
inline constexpr long kReadOnly = 0x1;          // the read-only check box is ticked
inline constexpr long kOverwritePrompt = 0x2;   // honoured by no implementation: the program asks itself
inline constexpr long kHideReadOnly = 0x4;      // hide the read-only check box
inline constexpr long kNoChangeDir = 0x8;
inline constexpr long kPathMustExist = 0x800;
inline constexpr long kFileMustExist = 0x1000;
}  // namespace cdl

class CommonDialog {
 public:
  virtual ~CommonDialog() = default;

  std::string FileName;
  std::string Filter;  // "description|pattern|description|pattern..."
  std::string InitDir;
  std::string DialogTitle;
  long Flags = 0;
  bool CancelError = false;  // kept for the callers' bookkeeping; a cancel is always DialogOutcome::Cancelled

  // Show the dialog; on Ok FileName holds the chosen path. A dialog never asks its own
  // overwrite question, whatever Flags hold.
  virtual DialogOutcome ShowOpen() = 0;
  virtual DialogOutcome ShowSave() = 0;
};

// The (description, pattern) pairs of a filter text. A last description without a pattern
// gets an empty pattern; empty input gives no pairs.
std::vector<std::pair<std::string, std::string>> parseFilter(const std::string& filter);

// The program's one shared dialog (the main window's): every window opens and saves through it,
// so that it starts where the user last was. The windows install the real one, tests a scripted
// one; with none installed every dialog is cancelled.
CommonDialog& commonDialog();
Installed<CommonDialog> installCommonDialog(CommonDialog& dialog);

}  // namespace tovakin::platform
