#pragma once
// The program's one open / save dialog over Qt's own file dialog (not the desktop's), so that it
// looks and behaves the same on every desktop and in tests.
#include <QString>
#include <QStringList>
#include <string>

#include "platform/common_dialog.h"
#include "ui/layer.h"

namespace tovakin::gui {

// Qt name filters from a "description|pattern|description|pattern" filter: patterns separated
// by ";" become Qt's blank-separated list, "*.*" (every file on the original platform) becomes
// "*", and a description that already shows its patterns in parentheses is not given them twice.
QStringList qtNameFilters(const std::string& filter);

// Where the dialog opens and the name it proposes: a FileName with a folder that exists opens
// there (as the original dialog did, over InitDir); otherwise InitDir, with FileName's own name.
struct StartLocation {
  QString directory;  // "" lets the dialog choose
  QString fileName;   // "" proposes nothing
};
StartLocation startLocation(const std::string& fileName, const std::string& initDir);

inline constexpr const char* kFileDialogObjectName = "dlgCommonDialog";

class QtCommonDialog final : public CommonDialog {
 public:
  DialogOutcome ShowOpen() override;
  DialogOutcome ShowSave() override;

 private:
  DialogOutcome show(bool save);
};

}  // namespace tovakin::gui
