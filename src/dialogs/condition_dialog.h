#pragma once
// What the two condition dialogs share: the exchange copy through which a document hands its
// record over, the OK / Cancel / Apply bar, the edited state that enables OK and Apply, and the
// take-over flag of the document that opened the dialog.
//
// The opening document copies its whole record into g_designDataWork and passes its own
// take-over flag to the dialog; OK and Apply store the dialog's fields into the exchange copy and
// raise that flag; after the modal show the document copies the exchange copy back only when its
// flag is raised. The dialog never looks for "the active document": the flag it raises is the
// opener's, given at construction.
#include <QDialog>
#include <array>
#include <functional>

#include "app/design_data.h"
#include "ui/layer.h"

class QKeyEvent;
class QPushButton;
class QWidget;

namespace tovakin::gui {

// The one exchange copy, overwritten at every opening of either dialog.
extern DesignData g_designDataWork;

// Enter and Escape, which press no button of the program's dialogs: accepts the key and returns
// true; false for any other key.
bool swallowCommandKey(QKeyEvent* event);

class ConditionDialog : public QDialog {
  Q_OBJECT
 public:
  enum Command { kOk = 0, kCancel = 1, kApply = 2 };

  // `parent` is the main window (the dialog is modal and centred over it); `takeOverFlag` is the
  // opening document's flag, which must outlive the dialog.
  ConditionDialog(QWidget* parent, bool& takeOverFlag);

  QPushButton* cmdCommand(int index) const { return commands_.at(static_cast<std::size_t>(index)); }
  bool blnUnchanged() const { return unchanged_; }

  // The buttons' actions: 0 OK (store, close), 1 Cancel (close), 2 Apply (store, stay open).
  // OK and Apply store nothing when myForm2Data refuses the shown values.
  void cmdCommand_Click(int index);

 protected:
  // The button bar `picCommand` at its designed place in the dialog (twips).
  QWidget* buildCommandBar(int left, int top);

  // Unchanged, OK and Apply disabled, then the dialog record from the exchange copy. Each
  // dialog calls it in its load, before it shows the record in its controls.
  void myFormInit();
  // The first edit (and every later one) enables OK and Apply.
  void markEdited();

  // The dialog's fields: from the exchange copy into its own record, and back.
  virtual void loadFromExchange(const DesignData& work) = 0;
  virtual void storeToExchange(DesignData& work) const = 0;
  // The controls into the dialog's record; false refuses the values (the dialog has said why
  // and focused the box), and nothing is stored.
  virtual bool myForm2Data() = 0;

  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void myData2KanData();

  bool& takeOverFlag_;
  bool unchanged_ = true;
  std::array<QPushButton*, 3> commands_{};
};

// How the opener shows a dialog: modally, until it closes. Tests drive the dialog instead.
using ShowDialog = std::function<void(QDialog&)>;
void showModal(QDialog& dialog);

// The document side of a condition dialog's opening, after the document has stored its
// controls into `record`: the flag is cleared, the whole record goes into the exchange copy,
// the dialog is shown, and when the dialog raised the flag the whole exchange copy comes back.
// True when the document takes values over (it then counts as changed).
bool runConditionExchange(DesignData& record, bool& flag, const std::function<void()>& showDialog);

}  // namespace tovakin::gui
