#pragma once
// The options dialog: the calculation constants on five tab pages, edited in the dialog's own
// copy of the working settings. OK and Apply make that copy the working settings, write
// TOVAKIN.INI and have every open document re-read its pipe data; Cancel stores nothing (what an
// earlier Apply stored stays). The last page clears the recent-file list at once and for good.
//
// The dialog knows nothing of the main window: whoever opens it passes what touches other
// windows (the documents' refresh, the recent-file menu items) as callbacks.
#include <QDialog>
#include <array>
#include <functional>

#include "app/calc_settings.h"
#include "dialogs/options_table.h"
#include "ui/layer.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QTabWidget;

namespace tovakin::gui {

class DialogNumericBox;

// What the opener does for the dialog.
struct OptionsOpener {
  // Calls myKanDataReFresh on every open document window (nothing when none is open).
  std::function<void()> refreshDocuments;
  // Hides the recent-file menu items and their separator.
  std::function<void()> hideRecentFiles;
};

class frmOptions : public QDialog {
  Q_OBJECT
 public:
  enum Command { kOk = 0, kCancel = 1, kApply = 2 };

  // `parent` is the main window: the dialog is modal and centred over it. Each dialog object is
  // one showing: it loads from g_calcSettings and g_recentFiles when it is made.
  frmOptions(QWidget* parent, OptionsOpener opener);

  DialogNumericBox* txtTextBox(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
  QPushButton* cmdCommand(int index) const { return commands_.at(static_cast<std::size_t>(index)); }
  QPushButton* cmdMRUClear() const { return mruClear_; }
  QLabel* lblHistoryFileClearInfo() const { return mruInfo_; }
  QTabWidget* tbsOptions() const { return tabs_; }
  bool blnUnchanged() const { return unchanged_; }
  const CalcSettings& myData() const { return myData_; }

  // 0 OK: store and close; 1 Cancel: close; 2 Apply: store and stay open with Apply disabled.
  // Storing reads all 37 boxes; when one holds no number, that box is shown and nothing is stored.
  void cmdCommand_Click(int index);
  // Empties the recent-file list, hides its menu items and writes the empty keys at once.
  void cmdMRUClear_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildPages();
  void buildCommandBar(QWidget* form);
  void Form_Load();
  void myFormEdit();
  void myFormInit();
  void myFormTenki();
  bool myForm2Data();
  void myDocumentFormRefresh();
  void markEdited();
  bool storeSettings();

  OptionsOpener opener_;
  CalcSettings myData_;
  bool unchanged_ = true;
  QWidget* form_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QWidget* commandBar_ = nullptr;
  std::array<QWidget*, kOptionsPageCount> frames_{};
  std::array<DialogNumericBox*, kOptionsBoxCount> boxes_{};
  std::array<QPushButton*, 3> commands_{};
  QPushButton* mruClear_ = nullptr;
  QLabel* mruInfo_ = nullptr;
};

}  // namespace tovakin::gui
