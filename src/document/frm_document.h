#pragma once
// The design document window: one design case in the main window's MDI area. It shows the case
// in its controls (the pipe chosen from the pipe database, the burial, the loads, the pressures
// and, for a flexible pipe, the deflection values), keeps it in its record, and carries what the
// main window relies on: its caption, the path of its file, the command entry point and the
// "changed" state with the save question on closing.
//
// The window is thin: the lists, codes, switches and pipe values follow the plain rules of
// document_rules.h; what goes from the controls into the record and back, and what filling a list
// writes into it, the functions of record_transfer.h, which the window only applies; its controls
// the designed table of document_layout.h.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/design_data.h"
#include "calc/calc_result.h"
#include "document/document_layout.h"
#include "document/document_rules.h"
#include "ui/abort_boundary.h"
#include "ui/layer.h"

class QCloseEvent;
class QComboBox;
class QKeySequence;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tovakin::gui {

class ChoiceCombo;
class FocusScrollArea;
class UnitCaption;

// The designed Tag by which other windows recognise document windows.
inline constexpr const char* kDocumentTag = "frmDocument";

class frmDocument : public QWidget {
  Q_OBJECT
 public:
  // Builds a ready window (Form_Load): lists filled, the first pipe chosen and its data shown,
  // the defaults of a new case in the controls, nothing changed.
  explicit frmDocument(QWidget* parent = nullptr);
  ~frmDocument() override;

  // ---- For the main window: commands, the file, the closing question, the options' refresh --

  // The command channel, the hidden label's caption: a new word runs at once and returns when it
  // has ended. Writing the word the label already holds runs nothing, so every sender writes ""
  // first and then the word (DocumentCommand). kWordCalc presses the calculate button, kWordSave
  // and kWordSaveAs save, kWordOpen loads the file named in lblMyFilename; any other word only
  // refreshes the caption.
  void lblMyCommand(const QString& word);
  // The path of the document's file, "" while it has none.
  QString lblMyFilename() const;
  void setMyFilename(const QString& path);

  // The question before the window closes: true when it may close. Unchanged documents close;
  // a changed one asks "save?" (Yes / No / Cancel): No closes, Cancel keeps it, Yes saves and
  // keeps the window when the save did not happen.
  // Every box is re-formatted first, as when the user leaves it.
  bool queryClose();

  // An access key the main window's menu bar was handed (Alt+E, Alt+H): presses the condition
  // button that carries it while the window shows that button; false leaves the key to the menu.
  bool pressAccessKey(const QKeySequence& key);

  // Reads the chosen pipe's data again into the read-only boxes 1, 21, 2, 3 and 4 (the options
  // dialog calls it after new settings); leaves the changed state alone.
  void myKanDataReFresh();

  // ---- For the calculation run: the record, the result and the controls a check focuses ------

  // The case of this window, and the result of its last calculation.
  app::DesignData& myData() { return data_; }
  const app::DesignData& myData() const { return data_; }
  calc::CalcResult& myCalcResult() { return result_; }

  // The controls into the record (record_transfer.h), the focused box re-formatted first. False,
  // with nothing stored, when a number box holds a text that is not one number: the box says so
  // and has the focus. A field the record cannot take is reported in its own step; Ignore leaves
  // it as it was.
  bool myForm2Data();

  // The controls. An index outside a control array raises subscript out of range (9).
  QLineEdit* txtTextBox(int index) const;  // 0 to kTextBoxCount - 1
  QComboBox* cbKanshu() const;
  QComboBox* cbKikaku() const;
  QComboBox* cbYobina() const;
  QComboBox* cbMaisetu() const;
  QComboBox* cbKiso() const;
  QComboBox* cbKajuJoken() const;
  QComboBox* cbBuruJoken() const;
  QComboBox* cbDoroJoken() const;
  QPushButton* cmdCommand(int index) const;  // 0 閉じる, 1 計算する
  QPushButton* cmdKisozaiSet() const { return kisozaiSet_; }
  QPushButton* cmdNaigaiatuSet() const { return naigaiatuSet_; }
  QLabel* lblKanshu() const { return kanshuLabel_; }
  QLabel* lblMizohaba() const { return mizohabaLabel_; }
  QWidget* picMyForm() const { return form_; }
  QWidget* picTouseiField() const { return tousei_; }
  QWidget* picCommand() const { return commandPanel_; }
  // The scrolled frame the designed layout stands in.
  FocusScrollArea* layoutFrame() const { return frame_; }
  UnitCaption* picTanni(int index) const;  // 0 to kUnitCaptionCount - 1
  // The designed control of that object name ("txtTextBox_5", "cbKanshu"); a name the window does
  // not have raises subscript out of range (9).
  QWidget* control(std::string_view objectName) const;

  // ---- For the condition dialogs ---------------------------------------------------------------

  // Handed to the dialog an opening shows, which raises it when its values are to be taken over.
  bool blnKisozaiWorkFlg = false;
  bool blnNaigaiatuWorkFlg = false;

  // The two condition-dialog buttons: the controls into the record, the dialog over the main
  // window, the exchange copy taken back when the dialog's OK or Apply raised the flag.
  void cmdKisozaiSet_Click();
  void cmdNaigaiatuSet_Click();

  // ---- The window's own steps, public for the tests that drive them one at a time -------------

  // True while nothing has been changed since the document was made, loaded or saved.
  bool blnUnchanged() const { return unchanged_; }
  void setUnchanged(bool unchanged) { unchanged_ = unchanged; }

  // Re-formats a box as leaving it does (the free texts trimmed, a number in its pattern, box 19
  // as it stands); the changed state stays as it is. False, the text left as it stands, for a
  // number box whose text is not one number.
  bool txtTextBoxCheck(int index);
  void txtTextBoxCheckAll();

  // The record's defaults of a new case (the pipe and the codes as the lists show them, the
  // soil and water values of the calculation settings as they stand now); nothing changed.
  void myDataInit();
  // The record into the controls (recordToControls). Leaves the changed state alone.
  void myFormTenki();
  // The rigid / flexible switch from the pipe type and the support shown.
  void myFormKanshuEdit();
  // The trench-width caption and enabled state for a burial code.
  void myMizohabaEdit(double maisetuKeishiki);

  // The list fills; each also writes the list's field of the record (listFilled).
  void cbMaisetuEdit();
  void cbKisoEdit();
  void cbKajuJokenEdit();
  void cbBuruJokenEdit();
  void cbDoroJokenEdit();
  void cbKanshuEdit();
  void cbKikakuEdit();
  void cbYobinaEdit();

  // The user's choice in the pipe lists: the cascade type -> standard -> size, then the pipe
  // data.
  void cbKanshu_Click();
  void cbKikaku_Click();
  void cbYobina_Click();
  // The support list switches the flexible-pipe panel, the burial list the trench-width controls.
  // (Every choice of a list, also of the entry already shown, and every edit of a box changes the
  // case, through markChanged.)
  void cbKiso_Click();
  void cbMaisetu_Click();

  // The two command buttons: 0 closes the window through its closing question, 1 runs the
  // calculation (calculation_run.h); any other index does nothing.
  void cmdCommand_Click(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The keyboard of the boxes and lists: select-all on focus, Enter along the links, re-format
  // on leaving.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The file words: "開く" loads the file named in lblMyFilename (a failure closes the window once
  // the sender has returned), "上書き保存" and "名前を付けて保存" save through the shared dialog.
  void myFileCommand(const QString& word);
  void closeWindow();
  // The one place a list's choice or a box's edit marks the case changed.
  void markChanged() { unchanged_ = false; }
  // Re-formats the box that has the focus, as leaving it would.
  void checkFocusedBox();
  // The caption becomes the file's path once that file exists.
  void captionRefresh();
  // Enter in a box or a list: the focus to the next input of the links.
  void enterFrom(QWidget* from);
  void wireKeyboard();

  // The window as recordToControls shows a record in it.
  class Shown;

  void buildControls();
  void Form_Load();
  void myFormEdit();
  void myKanDataReFreshBody();
  void fillFixedList(DocRole list);
  // Fills a pipe list from the rows of the database; what it shows then goes into the record.
  template <class Rows>
  void fillPipeList(const char* label, DocRole list, Rows&& rows);
  // The list of a list role; a role that is no list raises subscript out of range (9).
  ChoiceCombo* choice(DocRole list) const;
  std::string comboText(DocRole list) const;
  void setComboText(DocRole list, const std::string& text);
  std::string boxText(int index) const;
  void setBoxText(int index, const std::string& text);

  app::DesignData data_;
  calc::CalcResult result_;
  bool unchanged_ = true;
  // A box's re-format whose error box is up is not started again by the focus leaving the box.
  ReentryGuard boxCheck_;

  FocusScrollArea* frame_ = nullptr;
  QWidget* designed_ = nullptr;  // the designed layout, which the frame scrolls
  QWidget* form_ = nullptr;
  QWidget* tousei_ = nullptr;
  QWidget* commandPanel_ = nullptr;
  QLabel* filename_ = nullptr;
  QLabel* command_ = nullptr;
  QLabel* appTitle_ = nullptr;
  QLabel* kanshuLabel_ = nullptr;
  QLabel* mizohabaLabel_ = nullptr;
  QPushButton* kisozaiSet_ = nullptr;
  QPushButton* naigaiatuSet_ = nullptr;
  std::array<QLineEdit*, kTextBoxCount> boxes_{};
  std::array<ChoiceCombo*, kListCount> combos_{};  // in the order of documentLists()
  std::array<UnitCaption*, kUnitCaptionCount> units_{};
  std::array<QPushButton*, 2> commands_{};
  // Every designed control by its object name, for the Enter links and the Tab order.
  std::vector<std::pair<std::string, QWidget*>> named_;
};

inline constexpr const char* kSaveQuestion = "データは変更されています。保存しますか？";

// The command words a document runs (lblMyCommand).
inline constexpr const char* kWordOpen = "開く";
inline constexpr const char* kWordSave = "上書き保存";
inline constexpr const char* kWordSaveAs = "名前を付けて保存";
inline constexpr const char* kWordCalc = "計算する";

// Sends a command word the way every sender does: "" and then the word.
void DocumentCommand(frmDocument& document, const QString& word);

}  // namespace tovakin::gui
