#include "document/frm_document.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/cursor.h"
#include "app/document_file.h"
#include "app/std_io.h"
#include "app/user_file.h"
#include "calc/pipe_lookups.h"
#include "dialogs/frm_kisozai_set.h"
#include "dialogs/frm_naigaiatu_set.h"
#include "document/calculation_run.h"
#include "document/document_inputs.h"
#include "document/document_layout.h"
#include "document/document_rules.h"
#include "document/record_transfer.h"
#include "platform/common_dialog.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/ole_date.h"
#include "ui/abort_boundary.h"
#include "ui/button_keys.h"
#include "ui/document_focus.h"
#include "ui/focus_scroll_area.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {

namespace {

constexpr int kInvalidUseOfNull = 94;

QString qtext(const std::string& s) { return QString::fromStdString(s); }

// The control of a control array at an index; an index outside it raises subscript out of range (9)
// naming the control of the role looked for.
template <class T, std::size_t N>
T* at(const std::array<T*, N>& controls, DocRole role, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) raiseNoControl(role, index);
  return controls[static_cast<std::size_t>(index)];
}

void paintBehind(QWidget& widget, QPalette::ColorRole role, std::uint32_t bgr) {
  QPalette palette = widget.palette();
  palette.setColor(role, designColour(bgr));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

QWidget* containerOf(DocContainer container, QWidget* window, QWidget* form, QWidget* tousei, QWidget* command) {
  switch (container) {
    case DocContainer::Window: return window;
    case DocContainer::Form: return form;
    case DocContainer::Tousei: return tousei;
    case DocContainer::Command: return command;
  }
  return window;
}

QLabel* makeLabel(const DesignedControl& c, QWidget* container) {
  auto* label = new QLabel(QString::fromUtf8(c.caption), container);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  if (c.backColour != kNoColour) paintBehind(*label, QPalette::Window, c.backColour);
  return label;
}

QLineEdit* makeBox(const DesignedControl& c, QWidget* container) {
  auto* box = new QLineEdit(container);
  // A file dropped on a box is the main window's to open, not text for the box.
  box->setAcceptDrops(false);
  const DocumentBox& designed = documentBox(c.index);
  if (designed.readOnly) {
    box->setReadOnly(true);
    paintBehind(*box, QPalette::Base, kReadOnlyColour);
  }
  if (designed.textBytes > 0) box->setValidator(new RecordTextValidator(designed.textBytes, box));
  return box;
}

// The document as the calculation run sees it.
class DocumentRun final : public CalculationDocument {
 public:
  explicit DocumentRun(frmDocument& document) : d_(document) {}
  DesignData& myData() override { return d_.myData(); }
  CalcResult& myCalcResult() override { return d_.myCalcResult(); }
  bool myForm2Data() override { return d_.myForm2Data(); }
  void focusCheckTarget(const CheckTarget& target) override {
    // A target the window does not have raises subscript out of range (9).
    QWidget* control = d_.control(objectNameOf(target.role, target.textBox));
    auto* text = qobject_cast<QLineEdit*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) text = combo->lineEdit();
    focusOnUsersBehalf(*control);
    // Typing the correction replaces the whole wrong value.
    if (text) text->selectAll();
    // In view now, not once the focus has settled: the check's message comes next and waits
    // modally, and the user reads it beside the value it names.
    d_.layoutFrame()->showControl(control);
  }
  QString lblMyFilename() const override { return d_.lblMyFilename(); }
  CommonDialog& dlgCommonDialog() override { return commonDialog(); }
  QWidget* messageOwner() const override { return d_.window(); }

 private:
  frmDocument& d_;
};

}  // namespace

frmDocument::frmDocument(QWidget* parent) : QWidget(parent) {
  setObjectName(kDocumentTag);
  setTag(*this, kDocumentTag);
  buildControls();
  Form_Load();
}

frmDocument::~frmDocument() = default;

void frmDocument::buildControls() {
  QFont font(QString::fromUtf8(kDocumentFace));
  font.setPointSizeF(kDocumentPoints);
  setFont(font);
  paintBehind(*this, QPalette::Window, kWindowColour);
  // The designed layout stands in a scrolled frame: a window smaller than the layout (documents
  // tiled side by side) shows scroll bars, and the box the focus goes to is brought into view.
  designed_ = new QWidget;
  frame_ = new FocusScrollArea(designed_, this);
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(frame_);

  for (const DesignedControl& c : documentControls()) {
    QWidget* container = containerOf(c.container, designed_, form_, tousei_, commandPanel_);
    QWidget* made = nullptr;
    const auto at = static_cast<std::size_t>(c.index);
    switch (c.role) {
      case DocRole::FormPanel: made = form_ = new QWidget(container); break;
      case DocRole::TouseiPanel: made = tousei_ = new QWidget(container); break;
      case DocRole::CommandPanel: made = commandPanel_ = new QWidget(container); break;
      case DocRole::Caption: made = makeLabel(c, container); break;
      case DocRole::AppTitle: made = appTitle_ = makeLabel(c, container); break;
      case DocRole::KanshuCaption: made = kanshuLabel_ = makeLabel(c, container); break;
      case DocRole::MizohabaCaption: made = mizohabaLabel_ = makeLabel(c, container); break;
      case DocRole::FileName: made = filename_ = makeLabel(c, container); break;
      case DocRole::CommandWord: made = command_ = makeLabel(c, container); break;
      case DocRole::TextBox: made = boxes_.at(at) = makeBox(c, container); break;
      case DocRole::Unit: made = units_.at(at) = new UnitCaption(container); break;
      case DocRole::Kanshu:
      case DocRole::Kikaku:
      case DocRole::Yobina:
      case DocRole::Maisetu:
      case DocRole::Kiso:
      case DocRole::KajuJoken:
      case DocRole::BuruJoken:
      case DocRole::DoroJoken:
        made = combos_.at(static_cast<std::size_t>(listIndexOf(c.role))) = new ChoiceCombo(container);
        break;
      case DocRole::KisozaiSet: made = kisozaiSet_ = new QPushButton(QString::fromUtf8(c.caption), container); break;
      case DocRole::NaigaiatuSet:
        made = naigaiatuSet_ = new QPushButton(QString::fromUtf8(c.caption), container);
        break;
      case DocRole::Command: made = commands_.at(at) = new QPushButton(QString::fromUtf8(c.caption), container); break;
    }
    made->setObjectName(QString::fromStdString(objectNameOf(c)));
    made->setGeometry(twipsRect(c.left, c.top, c.width, c.height));
    named_.emplace_back(made->objectName().toStdString(), made);
  }
  filename_->hide();
  command_->hide();

  // activated is the user's choice, also of the entry already shown; what the program sets
  // emits none, so filling and showing a case runs no handler.
  const auto onChoice = [this](DocRole list, const char* label, void (frmDocument::*handler)()) {
    connect(choice(list), &QComboBox::activated, this,
            [this, label, handler] { runHandler(label, [this, handler] { (this->*handler)(); }); });
  };
  onChoice(DocRole::Kanshu, "cbKanshu_Click", &frmDocument::cbKanshu_Click);
  onChoice(DocRole::Kikaku, "cbKikaku_Click", &frmDocument::cbKikaku_Click);
  onChoice(DocRole::Yobina, "cbYobina_Click", &frmDocument::cbYobina_Click);
  onChoice(DocRole::Kiso, "cbKiso_Click", &frmDocument::cbKiso_Click);
  onChoice(DocRole::Maisetu, "cbMaisetu_Click", &frmDocument::cbMaisetu_Click);
  for (int i = 0; i < 2; ++i) {
    connect(commands_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
            [this, i] { runHandler("cmdCommand_Click", [this, i] { cmdCommand_Click(i); }); });
  }
  connect(kisozaiSet_, &QPushButton::clicked, this,
          [this] { runHandler("cmdKisozaiSet_Click", [this] { cmdKisozaiSet_Click(); }); });
  connect(naigaiatuSet_, &QPushButton::clicked, this,
          [this] { runHandler("cmdNaigaiatuSet_Click", [this] { cmdNaigaiatuSet_Click(); }); });
  wireKeyboard();
}

void frmDocument::wireKeyboard() {
  for (const DocumentBox& designed : documentBoxes()) {
    QLineEdit* box = txtTextBox(designed.index);
    box->installEventFilter(this);
    // Every edit of the user, and only the user's: typing, Delete, Backspace, cut, paste, undo
    // and the input method's commits; what the program writes into a box emits no textEdited.
    connect(box, &QLineEdit::textEdited, this, &frmDocument::markChanged);
    // Tab passes over the pipe boxes as Enter does; the mouse still reaches them for copying.
    if (!inTabOrder(designed.index)) box->setFocusPolicy(Qt::ClickFocus);
  }
  for (const DocumentList& designed : documentLists()) {
    ChoiceCombo* list = choice(designed.role);
    list->installEventFilter(this);
    // Every choice of the user, also of the entry already shown; filling and showing emit none.
    connect(list, &QComboBox::activated, this, &frmDocument::markChanged);
  }
  // Enter on a focused button presses it, as at the end of the Enter links.
  for (QPushButton* button : {commands_[0], commands_[1], kisozaiSet_, naigaiatuSet_}) button->setAutoDefault(true);
  // The condition buttons share their access keys with the main window's menus: the key presses
  // the button at once, whichever of the two Qt hands it to.
  for (QPushButton* button : {kisozaiSet_, naigaiatuSet_}) pressOnAccessKey(*button);
  QWidget* previous = nullptr;
  for (const std::string& name : tabOrder()) {
    QWidget* next = control(name);
    if (previous) setTabOrder(previous, next);
    previous = next;
  }
}

bool frmDocument::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  auto* box = qobject_cast<QLineEdit*>(watched);
  const auto found = std::find(boxes_.begin(), boxes_.end(), box);
  const int index = box && found != boxes_.end() ? static_cast<int>(found - boxes_.begin()) : -1;
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key != Qt::Key_Return && key != Qt::Key_Enter) break;
      // An editable list with a read-only line has no Enter of its own; a box re-formats first.
      const std::string label =
          index >= 0 ? std::string("txtTextBox_KeyPress") : widget->objectName().toStdString() + "_KeyPress";
      bool readable = true;
      if (index >= 0) boxCheck_.run([&] { runHandler(label.c_str(), [&] { readable = txtTextBoxCheck(index); }); });
      if (!readable) {
        runHandler(label.c_str(), [&] { refuseUnreadable(*box); });
        return true;
      }
      runHandler(label.c_str(), [&] { enterFrom(widget); });
      return true;
    }
    case QEvent::FocusIn:
      if (index >= 0) selectAllAfterFocus(*box);
      break;
    case QEvent::FocusOut:
      // Leaving re-formats; a context menu opening over the box is no leaving.
      if (index >= 0) deselectOnLeaving(*box, static_cast<QFocusEvent*>(event)->reason());
      if (index >= 0 && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        bool readable = true;
        boxCheck_.run([&] { runHandler("txtTextBox_Validate", [&] { readable = txtTextBoxCheck(index); }); });
        if (!readable && leavesTheBox(static_cast<QFocusEvent*>(event)->reason())) refuseUnreadableLater(*box);
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

bool frmDocument::pressAccessKey(const QKeySequence& key) {
  for (QPushButton* button : {kisozaiSet_, naigaiatuSet_}) {
    const auto letter = accessKeyOf(button->text());
    // Shown (in this window and its panel) and enabled: what the user sees can be pressed.
    if (!letter || accessKeySequence(*letter) != key) continue;
    if (!button->isVisibleTo(window()) || !button->isEnabled()) continue;
    button->click();
    return true;
  }
  return false;
}

void frmDocument::enterFrom(QWidget* from) {
  EnterState state;
  state.trenchEnabled = txtTextBox(trenchBox().index)->isEnabled();
  // isHidden, not isVisible: the links are the same while the window itself is not shown.
  state.naigaiatuButton = !naigaiatuSet_->isHidden();
  state.touseiPanel = !tousei_->isHidden();
  const std::string target = enterTarget(from->objectName().toStdString(), state);
  if (target.empty()) return;
  focusOnUsersBehalf(*control(target));
}

QWidget* frmDocument::control(std::string_view objectName) const {
  for (const auto& [name, widget] : named_)
    if (name == objectName) return widget;
  // A link to a control the window does not have is a fault of the tables, never a silent no-op.
  raiseNotFound(objectName);
}

bool frmDocument::txtTextBoxCheck(int index) {
  QLineEdit* box = txtTextBox(index);
  const std::string raw = box->text().toStdString();
  if (unreadableNumberBox(index, raw)) return false;
  std::string formatted;
  if (abortPending()) {
    // Closing after 中止 on this box's error: the close request asks nothing again, and a box it
    // cannot re-format stays as it stands.
    try {
      formatted = reformatBox(index, raw);
    } catch (const RuntimeError&) {
      return true;
    }
  } else if (!guardStep("txtTextBoxCheck", [&] { formatted = reformatBox(index, raw); })) {
    // A number too large for a double is this procedure's error, as in every dialog's box: on
    // Ignore the box shows zero, never a number held to the largest double.
    formatted = reformatBox(index, "");
  }
  const QString text = qtext(formatted);
  // setText emits no textEdited: re-formatting is no change of the user's.
  if (text != box->text()) box->setText(text);
  app::砂時計(false);
  return true;
}

void frmDocument::checkFocusedBox() {
  QWidget* focused = focusWidget();
  if (!focused) return;
  for (int i = 0; i < kTextBoxCount; ++i)
    if (boxes_[static_cast<std::size_t>(i)] == focused) boxCheck_.run([&] { txtTextBoxCheck(i); });
}

void frmDocument::txtTextBoxCheckAll() {
  for (int i = 0; i < kTextBoxCount; ++i) guardStep("txtTextBoxCheckAll", [&] { txtTextBoxCheck(i); });
}

// ---- Loading and layout ---------------------------------------------------------------------

void frmDocument::Form_Load() {
  const char* label = "Form_Load";
  const PipeDataAction action;  // the lists and the pipe of a new window: one box at most
  guardStep(label, [&] { setWindowTitle(QString()); });
  guardStep(label, [&] { myFormResString(*this); });
  guardStep(label, [&] { myFormEdit(); });
  guardStep(label, [&] { ToolTip2Caption(*this); });
  guardStep(label, [&] { cbMaisetuEdit(); });
  guardStep(label, [&] { cbKisoEdit(); });
  guardStep(label, [&] { cbKajuJokenEdit(); });
  guardStep(label, [&] { cbBuruJokenEdit(); });
  guardStep(label, [&] { cbDoroJokenEdit(); });
  guardStep(label, [&] { cbKanshuEdit(); });
  guardStep(label, [&] { cbKikakuEdit(); });
  guardStep(label, [&] { cbYobinaEdit(); });
  guardStep(label, [&] { myKanDataReFreshBody(); });
  guardStep(label, [&] { myFormKanshuEdit(); });
  guardStep(label, [&] { myDataInit(); });
  guardStep(label, [&] { myFormTenki(); });
  unchanged_ = true;
}

void frmDocument::myFormEdit() {
  guardStep("myFormEdit", [&] {
    for (QLineEdit* box : boxes_) box->clear();
    for (int i = 0; i < kUnitCaptionCount; ++i)
      TanniPrint(*units_[static_cast<std::size_t>(i)], qtext(std::string(unitTextOf(i))), 11, 0);
    appTitle_->setText(QString::fromUtf8(kAppTitleCaption));
    paintBehind(*appTitle_, QPalette::Window, kTitleColour);
    // The buttons go to the bottom-right corner of the input panel.
    const DesignedControl& panel = designedControl(DocRole::FormPanel);
    const DesignedControl& buttons = designedControl(DocRole::CommandPanel);
    const TwipsSize panelSize{panel.width, panel.height};
    const TwipsPoint corner = commandPanelCorner(panelSize, {buttons.width, buttons.height});
    commandPanel_->setGeometry(twipsRect(corner.left, corner.top, buttons.width, buttons.height));
    // The designed window is the panel with room for the caption and frame; Qt sizes the inside,
    // which is the panel itself. The window opens at the layout's size, without scroll bars.
    const TwipsSize client = documentClientSize(documentOuterSize(panelSize));
    designed_->resize(twipsSize(client.width, client.height));
    resize(designed_->size());
  });
}

void frmDocument::myFormKanshuEdit() {
  guardStep("myFormKanshuEdit", [&] {
    const std::int32_t kubun = func管材区分(comboText(DocRole::Kanshu));
    const KanshuSwitch state = kanshuSwitchFor(kubun, comboText(DocRole::Kiso));
    naigaiatuSet_->setVisible(state.naigaiatuButton);
    tousei_->setVisible(state.touseiPanel);
    kanshuLabel_->setText(QString::fromUtf8(state.caption));
    kanshuLabel_->update();
    tousei_->update();
  });
}

void frmDocument::myMizohabaEdit(double maisetuKeishiki) {
  const TrenchControls trench = trenchControlsFor(maisetuKeishiki);
  mizohabaLabel_->setText(QString::fromUtf8(trench.caption));
  mizohabaLabel_->setEnabled(trench.enabled);
  txtTextBox(trenchBox().index)->setEnabled(trench.enabled);
}

// ---- The lists ------------------------------------------------------------------------------

void frmDocument::fillFixedList(DocRole list) {
  ChoiceCombo* combo = choice(list);
  combo->clear();
  for (const ListItem& item : fixedListItems(list)) combo->addItem(QString::fromUtf8(item.text));
  listFilled(data_, list, comboText(list));
}

void frmDocument::cbMaisetuEdit() {
  guardStep("cbMaisetuEdit", [&] {
    fillFixedList(DocRole::Maisetu);
    myMizohabaEdit(fixedListDefault(DocRole::Maisetu));  // the trench of 溝型, the entry shown
  });
}

void frmDocument::cbKisoEdit() {
  guardStep("cbKisoEdit", [&] { fillFixedList(DocRole::Kiso); });
}

void frmDocument::cbKajuJokenEdit() {
  guardStep("cbKajuJokenEdit", [&] { fillFixedList(DocRole::KajuJoken); });
}

void frmDocument::cbBuruJokenEdit() {
  guardStep("cbBuruJokenEdit", [&] { fillFixedList(DocRole::BuruJoken); });
}

void frmDocument::cbDoroJokenEdit() {
  guardStep("cbDoroJokenEdit", [&] {
    fillFixedList(DocRole::DoroJoken);
    choice(DocRole::DoroJoken)->setCurrentIndex(-1);  // no entry until the record is shown
  });
}

template <class Rows>
void frmDocument::fillPipeList(const char* label, DocRole list, Rows&& rows) {
  std::vector<std::optional<std::string>> values;
  // A database that cannot be read leaves the list empty, as one without pipes.
  guardStep(label, [&] { values = rows(); });
  ChoiceCombo* combo = choice(list);
  combo->clear();
  for (const std::optional<std::string>& value : values) {
    // An empty cell is no entry: the box says so, and Ignore goes on without it.
    guardStep(label, [&] {
      if (!value) raiseError(kInvalidUseOfNull, "Null の使い方が不正です。");
      combo->addItem(qtext(*value));
    });
  }
  listFilled(data_, list, comboText(list));
  myFormRefresh(*this);
}

void frmDocument::cbKanshuEdit() {
  fillPipeList("cbKanshuEdit", DocRole::Kanshu, [] { return pipeTypeList(); });
}

void frmDocument::cbKikakuEdit() {
  const std::string kanshu = comboText(DocRole::Kanshu);
  fillPipeList("cbKikakuEdit", DocRole::Kikaku, [&] { return pipeStandardList(kanshu); });
}

void frmDocument::cbYobinaEdit() {
  const std::string kanshu = comboText(DocRole::Kanshu);
  const std::string kikaku = comboText(DocRole::Kikaku);
  fillPipeList("cbYobinaEdit", DocRole::Yobina, [&] { return pipeSizeList(kanshu, kikaku); });
}

// ---- The pipe -------------------------------------------------------------------------------

void frmDocument::cbKanshu_Click() {
  myFormKanshuEdit();
  cbKikakuEdit();
  cbYobinaEdit();
  myKanDataReFreshBody();
}

void frmDocument::cbKikaku_Click() {
  cbYobinaEdit();
  myKanDataReFreshBody();
}

void frmDocument::cbYobina_Click() { myKanDataReFreshBody(); }

void frmDocument::cbKiso_Click() {
  myFormKanshuEdit();  // the flexible-pipe panel depends on the support
}

void frmDocument::cbMaisetu_Click() {
  // By the text chosen, exactly; a text that is no entry is the plain trench. The box keeps its
  // text while greyed, so the width stays in the record for 突出型.
  myMizohabaEdit(fixedListCode(DocRole::Maisetu, comboText(DocRole::Maisetu)).value_or(0.0));
}

void frmDocument::myKanDataReFresh() { myKanDataReFreshBody(); }

void frmDocument::myKanDataReFreshBody() {
  const char* label = "myKanDataReFreshBody";
  const std::string kanshu = comboText(DocRole::Kanshu);
  const std::string kikaku = comboText(DocRole::Kikaku);
  const std::optional<double> size = nominalSizeValue(comboText(DocRole::Yobina));
  std::optional<calc::PipeDimensions> row;
  // A size that is no number, or a database that cannot be read, finds no pipe.
  if (size) guardStep(label, [&] { row = pipeDimensionsOf(kanshu, kikaku, *size); });
  PipeBoxes values;
  if (row && row->gaikei && row->kanatu)
    values = pipeBoxesFor(row, func管材区分(kanshu), 管材の単位体積重量(kanshu));
  guardStep(label, [&] {
    for (const DocumentBox& box : documentBoxes())
      if (const std::optional<std::string> text = pipeBoxText(values, box)) setBoxText(box.index, *text);
  });
}

// ---- The record -----------------------------------------------------------------------------

void frmDocument::myDataInit() {
  guardStep("myDataInit", [&] {
    unchanged_ = true;
    NewCasePipe pipe;
    pipe.kanshu = comboText(DocRole::Kanshu);
    pipe.kikaku = comboText(DocRole::Kikaku);
    pipe.yobikei = comboText(DocRole::Yobina);
    pipe.kanzaiKubun = func管材区分(pipe.kanshu);
    data_ = newCaseRecord(pipe, data_);
  });
}

class frmDocument::Shown final : public ShownControls {
 public:
  explicit Shown(frmDocument& document) : d_(document) {}
  std::string listText(DocRole list) const override { return d_.comboText(list); }
  void setListText(DocRole list, const std::string& text) override { d_.setComboText(list, text); }
  void setBoxText(int index, const std::string& text) override { d_.setBoxText(index, text); }
  void refillPipeList(DocRole list) override {
    if (list == DocRole::Kikaku) d_.cbKikakuEdit();
    else if (list == DocRole::Yobina) d_.cbYobinaEdit();
    else raiseNoControl(list);
  }
  void showPipeBoxes() override { d_.myKanDataReFreshBody(); }
  void showKanshuSwitch() override { d_.myFormKanshuEdit(); }
  void showTrench(double maisetuKeishiki) override { d_.myMizohabaEdit(maisetuKeishiki); }

 private:
  frmDocument& d_;
};

void frmDocument::myFormTenki() {
  Shown shown(*this);
  recordToControls(data_, shown, [](const std::function<void()>& step) { guardStep("myFormTenki", step); });
}

bool frmDocument::myForm2Data() {
  const char* label = "myForm2Data";
  // A menu, a toolbar button or an access key takes no focus: the box being typed in still holds
  // the raw text ("12.5 "), which is read only once it stands in its pattern, as leaving would.
  guardStep(label, [&] { checkFocusedBox(); });
  // A text that is not one number ("1.5m") is refused, and nothing is stored.
  for (const DocumentBox& box : documentBoxes()) {
    if (!unreadableNumberBox(box.index, boxText(box.index))) continue;
    refuseUnreadable(*txtTextBox(box.index));
    return false;
  }
  ControlTexts shown;
  for (const DocumentBox& box : documentBoxes()) shown.boxes.at(static_cast<std::size_t>(box.index)) = boxText(box.index);
  for (const DocumentList& list : documentLists()) shown.list(list.role) = comboText(list.role);
  // One step at a time under the error box: Ignore leaves that step's fields as they were and goes
  // on with the next.
  controlsToRecord(
      data_, shown, oleDateNow(), [](const std::string& kanshu) { return func管材区分(kanshu); },
      [&](const std::function<void()>& step) { guardStep(label, step); });
  return true;
}

// ---- Condition dialogs ----------------------------------------------------------------------

// Each dialog is shown over the main window and reports to this document through its own flag;
// a take-over marks the case changed. Of the values a dialog edits the window shows only the
// adopted e', in box 19: shown from the record taken over, in the box's pattern.
void frmDocument::cmdKisozaiSet_Click() {
  blnKisozaiWorkFlg = false;
  if (!myForm2Data()) return;
  if (!runKisozaiSet(window(), data_, blnKisozaiWorkFlg)) return;
  markChanged();
  const DocumentBox& adopted = adoptedModulusBox();
  setBoxText(adopted.index, boxTextOf(data_, adopted).value_or(""));
}

void frmDocument::cmdNaigaiatuSet_Click() {
  blnNaigaiatuWorkFlg = false;
  if (!myForm2Data()) return;
  if (runNaigaiatuSet(window(), data_, blnNaigaiatuWorkFlg)) markChanged();
}

// ---- Controls -------------------------------------------------------------------------------

QLineEdit* frmDocument::txtTextBox(int index) const { return at(boxes_, DocRole::TextBox, index); }

QComboBox* frmDocument::cbKanshu() const { return choice(DocRole::Kanshu); }
QComboBox* frmDocument::cbKikaku() const { return choice(DocRole::Kikaku); }
QComboBox* frmDocument::cbYobina() const { return choice(DocRole::Yobina); }
QComboBox* frmDocument::cbMaisetu() const { return choice(DocRole::Maisetu); }
QComboBox* frmDocument::cbKiso() const { return choice(DocRole::Kiso); }
QComboBox* frmDocument::cbKajuJoken() const { return choice(DocRole::KajuJoken); }
QComboBox* frmDocument::cbBuruJoken() const { return choice(DocRole::BuruJoken); }
QComboBox* frmDocument::cbDoroJoken() const { return choice(DocRole::DoroJoken); }

ChoiceCombo* frmDocument::choice(DocRole list) const { return at(combos_, list, listIndexOf(list)); }

QPushButton* frmDocument::cmdCommand(int index) const { return at(commands_, DocRole::Command, index); }

UnitCaption* frmDocument::picTanni(int index) const { return at(units_, DocRole::Unit, index); }

std::string frmDocument::comboText(DocRole list) const { return choice(list)->text().toStdString(); }

void frmDocument::setComboText(DocRole list, const std::string& text) { choice(list)->setText(qtext(text)); }

std::string frmDocument::boxText(int index) const { return txtTextBox(index)->text().toStdString(); }

void frmDocument::setBoxText(int index, const std::string& text) { txtTextBox(index)->setText(qtext(text)); }

// ---- Commands and closing -------------------------------------------------------------------

void frmDocument::lblMyCommand(const QString& word) {
  // The caption of the hidden label: the same text written again is no change and runs nothing.
  if (command_->text() == word) return;
  command_->setText(word);
  // While a calculation runs no command starts inside it (nor in any other document).
  if (word.isEmpty() || calculationRunning()) return;
  if (word == QString::fromUtf8(kWordCalc)) {
    commands_[1]->click();  // at once: the sender sees the run's effects when this returns
    return;
  }
  myFileCommand(word);
}

void frmDocument::cmdCommand_Click(int index) {
  if (index == 0) {
    closeWindow();
  } else if (index == 1) {
    DocumentRun run(*this);
    runCalculation(run);
  }
}

void frmDocument::myFileCommand(const QString& word) {
  const bool open = word == QString::fromUtf8(kWordOpen);
  const bool save = word == QString::fromUtf8(kWordSave) || word == QString::fromUtf8(kWordSaveAs);
  guardStep("lblMyCommand_Change", [&] {
    // A copy: a cancelled dialog or a failed write leaves the window's name as it was.
    std::string path = lblMyFilename().toStdString();
    if (save) {
      if (!myForm2Data()) return;
      bool quiet = command_->text() == QString::fromUtf8(kWordSave);
      // Cancelled, declined, in use or not written: no save, the case stays changed.
      if (!myUserSave(data_, commonDialog(), path, quiet)) return;
      setMyFilename(QString::fromStdString(path));
      unchanged_ = true;
    } else if (open) {
      if (!myUserLoad(data_, commonDialog(), path)) {
        // Nothing to keep: no question, and no second window of the file is found in this one.
        // Closed once the sender's open has returned; it holds this window weakly.
        unchanged_ = true;
        setMyFilename(QString());
        QTimer::singleShot(0, this, [this] { shielded([this] { closeWindow(); }); });
        return;
      }
      setMyFilename(QString::fromStdString(path));
      setWindowTitle(lblMyFilename());
      myFormTenki();
      unchanged_ = true;
    }
    captionRefresh();
  });
}

void frmDocument::captionRefresh() {
  // A case never saved keeps the numbered caption the main window gave it.
  if (fileExists(lblMyFilename().toStdString())) setWindowTitle(lblMyFilename());
}

void frmDocument::closeWindow() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
  else close();
}

QString frmDocument::lblMyFilename() const { return filename_->text(); }
void frmDocument::setMyFilename(const QString& path) { filename_->setText(path); }

bool frmDocument::queryClose() {
  // A running calculation holds the record and shows its windows over the main window.
  if (calculationRunning()) return false;
  txtTextBoxCheckAll();
  if (unchanged_) return true;
  switch (msgBox(kSaveQuestion, MsgButtons::YesNoCancel, MsgIcon::None, "")) {
    case MsgAnswer::No:
      return true;
    case MsgAnswer::Yes:
      DocumentCommand(*this, QString::fromUtf8(kWordSave));
      return unchanged_;
    case MsgAnswer::Cancel:  // and the answers a Yes / No / Cancel box does not give
    case MsgAnswer::OK:
    case MsgAnswer::Abort:
    case MsgAnswer::Retry:
    case MsgAnswer::Ignore:
      return false;
  }
  return false;
}

void frmDocument::closeEvent(QCloseEvent* event) {
  // A failed question keeps the document.
  bool mayClose = false;
  shielded([&] { mayClose = queryClose(); });
  if (mayClose) event->accept();
  else event->ignore();
}

void DocumentCommand(frmDocument& document, const QString& word) {
  document.lblMyCommand(QString());
  document.lblMyCommand(word);
}

}  // namespace tovakin::gui
