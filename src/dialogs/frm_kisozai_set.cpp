#include "dialogs/frm_kisozai_set.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>

#include "app/app_state.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/abort_boundary.h"
#include "ui/box_style.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {

namespace {

constexpr const char* kCaption = "基礎材の反力係数設定";
// Labels and unit boxes are light grey in the design.
constexpr std::uint32_t kLabelColour = 0x00E0E0E0;
// The columns of every row inside a frame (twips).
constexpr int kLabelLeft = 120, kLabelWidth = 3135, kRowHeight = 255;
constexpr int kBoxLeft = 3360, kBoxWidth = 1095, kBoxHeight = 270;
constexpr int kUnitLeft = 4560, kUnitWidth = 855;
constexpr int kSubLeftFormula = 5760, kSubLeftDeflection = 5520, kSubWidth = 1095;
// The explanation area and the method frame.
constexpr int kImageLeft = 3960, kImageTop = 120, kImageWidth = 5775, kImageHeight = 3015;
constexpr int kMainLeft = 120, kMainTop = 120, kMainWidth = 3735, kMainHeight = 1575;
// The options' tops; each option reaches across its frame, since the designed widths cut the
// captions in the Japanese face that stands in for the designed one.
constexpr std::array<int, kKisozaiMethods> kOptionTops = {240, 480, 720, 960, 1200};
constexpr int kOptionLeft = 240, kOptionWidth = kMainWidth - kOptionLeft - 45, kOptionHeight = 255;

// A frame's caption sits on its top border, so the rows designed close under the caption stay
// clear of the border.
constexpr const char* kFrameStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px; padding: 0 2px; }";

void fillBackground(QWidget* widget, std::uint32_t bgr) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, designColour(bgr));
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

// Fills a box as the program does; a number wider than the box shows its leading digits.
void fill(DialogNumericBox* box, const std::string& text) {
  box->setText(QString::fromStdString(text));
  if (!box->hasFocus()) box->home(false);
}

QLabel* makeLabel(const char* name, const char* caption, QWidget* parent, int left, int top, int width) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(twipsRect(left, top, width, kRowHeight));
  fillBackground(label, kLabelColour);
  return label;
}

// The value buttons read and write the dialog's boxes through this.
class FormBoxes : public KisozaiBoxes {
 public:
  explicit FormBoxes(frmKisozaiSet& form) : form_(form) {}
  std::string text(int box) const override { return form_.txtTextBox(box)->text().toStdString(); }
  void setText(int box, const std::string& text) override { fill(form_.txtTextBox(box), text); }
  void focusBox(int box) override { form_.txtTextBox(box)->focusAndSelect(); }
  bool rockChecked() const override { return form_.chkCheck()->isChecked(); }

 private:
  frmKisozaiSet& form_;
};

}  // namespace

// ---- the explanation area -------------------------------------------------------------------

ExplanationArea::ExplanationArea(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("picImage"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Base));
  p.setColor(QPalette::WindowText, p.color(QPalette::Text));
  setPalette(p);
  setAutoFillBackground(true);
}

void ExplanationArea::showPicture(const QImage& image, const QString& name) {
  image_ = image;
  pictureName_ = name;
  lines_.clear();
  update();
}

void ExplanationArea::showLines(const std::vector<std::string>& lines) {
  image_ = QImage();
  pictureName_.clear();
  lines_.clear();
  for (const std::string& line : lines) lines_ << QString::fromStdString(line);
  update();
}

void ExplanationArea::clearArea() { showLines({}); }

void ExplanationArea::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect inside = contentsRect();
  painter.setClipRect(inside);
  if (!image_.isNull()) painter.drawImage(inside.topLeft(), image_);
  painter.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics metrics(font());
  int y = inside.top() + metrics.ascent();
  for (const QString& line : lines_) {
    painter.drawText(inside.left(), y, line);  // not wrapped: what is wider is cut off
    y += metrics.lineSpacing();
  }
}

// ---- loading --------------------------------------------------------------------------------

frmKisozaiSet::frmKisozaiSet(QWidget* parent, bool& takeOverFlag) : ConditionDialog(parent, takeOverFlag) {
  setObjectName(QStringLiteral("frmKisozaiSet"));
  setWindowTitle(QString::fromUtf8(kCaption));
  guardStep("Form_Load", [&] { myFormEdit(); });
  guardStep("Form_Load", [&] { myFormResString(*this); });
  setMyIcon(*this);
  guardStep("Form_Load", [&] { ToolTip2Caption(*this); });
  myFormInit();
  myFormTenki();
  // Selecting the stored method shows its panel and, like every choice of a method, marks the
  // dialog edited. A method outside 0 to 4 selects none: no panel, OK and Apply stay disabled.
  if (const std::optional<ReactionModulusMethod> method = reactionModulusMethodOf(record_.hanryokuKeisuHoho)) {
    QRadioButton* stored = options_[static_cast<std::size_t>(codeOf(*method))];
    stored->setChecked(true);
    // The chosen option is the group's stop, and the dialog's first: it takes the focus when the
    // dialog shows, so its explanation shows and Space does not switch to the first method.
    stored->setFocus();
  }
}

void frmKisozaiSet::myFormEdit() {
  const KisozaiLayout layout = kisozaiLayout(SystemInformationCaptionHeight());

  picMyForm_ = new QWidget(this);
  picMyForm_->setObjectName(QStringLiteral("picMyForm"));
  picMyForm_->setGeometry(twipsRect(0, 0, layout.formWidth, layout.formHeight));

  auto* fraMain = new QGroupBox(QStringLiteral("基礎材の反力係数の計算方法"), picMyForm_);
  fraMain->setObjectName(QStringLiteral("fraMain"));
  fraMain->setGeometry(twipsRect(kMainLeft, kMainTop, kMainWidth, kMainHeight));
  fraMain->setStyleSheet(QString::fromLatin1(kFrameStyle));
  for (int i = 0; i < kKisozaiMethods; ++i) {
    const std::string caption = kisozaiMethodCaption(kReactionModulusMethods[static_cast<std::size_t>(i)]);
    auto* option = new QRadioButton(QString::fromStdString(caption), fraMain);
    option->setObjectName(QStringLiteral("optKisozaiSet_%1").arg(i));
    option->setGeometry(twipsRect(kOptionLeft, kOptionTops[static_cast<std::size_t>(i)], kOptionWidth, kOptionHeight));
    // setChecked from code emits toggled, not clicked: a selection by the program and by the user
    // both show the panel.
    connect(option, &QRadioButton::toggled, this, [this, i](bool checked) {
      if (checked) shielded([this, i] { optKisozaiSet_Click(i); });
    });
    option->installEventFilter(this);
    options_[static_cast<std::size_t>(i)] = option;
  }

  picImage_ = new ExplanationArea(picMyForm_);
  picImage_->setGeometry(twipsRect(kImageLeft, kImageTop, kImageWidth, kImageHeight));

  for (int method = 0; method < kKisozaiMethods; ++method) buildPanel(method, layout);

  // The bar lies over the form container at its bottom-right corner, above the panels.
  QWidget* bar = buildCommandBar(layout.barLeft, layout.barTop);

  // The window's client area is the form container; the caption is the window manager's.
  setFixedSize(twipsSize(layout.formWidth, layout.formHeight));

  // The tab order of the design: the options, then box by box and button by button.
  std::map<int, QWidget*> tabOrder;
  for (int i = 0; i < kKisozaiMethods; ++i) tabOrder[1 + i] = options_[static_cast<std::size_t>(i)];
  tabOrder[8] = rock_;
  for (const KisozaiBoxDesign& d : kKisozaiBoxDesigns) {
    tabOrder[d.boxTab] = boxes_[static_cast<std::size_t>(d.box)];
    if (d.sub >= 0) tabOrder[d.subTab] = subs_[static_cast<std::size_t>(d.sub)];
  }
  for (int i = 0; i < 3; ++i) tabOrder[32 + i] = cmdCommand(i);
  QWidget* previous = nullptr;
  for (const auto& [index, widget] : tabOrder) {
    if (previous) setTabOrder(previous, widget);
    previous = widget;
  }

  // Enter in a box moves the focus along the panel's chain.
  for (const KisozaiBoxDesign& d : kKisozaiBoxDesigns) {
    DialogNumericBox* box = boxes_[static_cast<std::size_t>(d.box)];
    switch (d.enter.kind) {
      case EnterTarget::Box: box->setEnterSuccessor(boxes_[static_cast<std::size_t>(d.enter.index)]); break;
      case EnterTarget::Sub: box->setEnterSuccessor(subs_[static_cast<std::size_t>(d.enter.index)]); break;
      case EnterTarget::Ok: box->setEnterSuccessorOk(cmdCommand(kOk), cmdCommand(kCancel)); break;
    }
  }
  myTagPictureLOCK();
  bar->raise();
}

void frmKisozaiSet::buildPanel(int method, const KisozaiLayout& layout) {
  auto* panel = new QWidget(picMyForm_);
  panel->setObjectName(QStringLiteral("picOptions_%1").arg(method));
  panel->setGeometry(twipsRect(0, layout.panelTop, layout.panelWidth, layout.panelHeight));
  panels_[static_cast<std::size_t>(method)] = panel;

  const ReactionModulusMethod own = kReactionModulusMethods[static_cast<std::size_t>(method)];
  auto* frame = new QGroupBox(QString::fromStdString(kisozaiMethodCaption(own)), panel);
  frame->setObjectName(QStringLiteral("fraFrame_%1").arg(method));
  frame->setGeometry(twipsRect(120, 120, layout.allFramesWidth, layout.frameHeight));
  frame->setStyleSheet(QString::fromLatin1(kFrameStyle));
  frames_[static_cast<std::size_t>(method)] = frame;

  const int subLeft = own == ReactionModulusMethod::Deflection ? kSubLeftDeflection : kSubLeftFormula;
  for (const KisozaiBoxDesign& d : kKisozaiBoxDesigns) {
    if (d.panel != method) continue;
    makeLabel(d.label, d.caption, frame, kLabelLeft, d.top, kLabelWidth);
    auto* box = new DialogNumericBox(d.box, d.pattern, d.readOnly, frame);
    box->setGeometry(twipsRect(kBoxLeft, d.top, kBoxWidth, kBoxHeight));
    connect(box, &DialogNumericBox::edited, this, [this] { markEdited(); });
    connect(box, &DialogNumericBox::entered, this,
            [this](int index) { shielded([this, index] { txtTextBoxKaisetuHyoji(index); }); });
    boxes_[static_cast<std::size_t>(d.box)] = box;
    if (d.tanni >= 0) {
      auto* unit = new UnitCaption(frame);
      fillBackground(unit, kLabelColour);
      TanniPrint(*unit, QString::fromUtf8(kKisozaiUnits[static_cast<std::size_t>(d.tanni)]), 11, 0);
      unit->setObjectName(QStringLiteral("picTanni_%1").arg(d.tanni));
      unit->setGeometry(twipsRect(kUnitLeft, d.top, kUnitWidth, kRowHeight));
    }
    if (d.sub >= 0) {
      auto* sub = new QPushButton(QStringLiteral("計算"), frame);
      sub->setObjectName(QStringLiteral("cmdCommandSub_%1").arg(d.sub));
      sub->setGeometry(twipsRect(subLeft, d.top, kSubWidth, kRowHeight));
      // An Enter chain ends on the panel's first 計算 button: Enter presses it there.
      sub->setAutoDefault(true);
      const int index = d.sub;
      connect(sub, &QPushButton::clicked, this, [this, index] {
        shielded([this, index] {
          FormBoxes boxes(*this);
          cmdCommandSub_Click(index, boxes, g_designDataWork);
        });
      });
      subs_[static_cast<std::size_t>(d.sub)] = sub;
    }
  }
  if (own == ReactionModulusMethod::Formula) {
    makeLabel("Label1_4", "現地盤条件", frame, kLabelLeft, 600, kLabelWidth);
    rock_ = new QCheckBox(QStringLiteral("現地盤を岩盤としてαａを補正しない。"), frame);
    rock_->setObjectName(QStringLiteral("chkCheck_0"));
    rock_->setGeometry(twipsRect(kBoxLeft, 660, 3495, 195));
    // Ticking the box changes what OK stores: it is an edit like typing.
    connect(rock_, &QCheckBox::clicked, this, [this] { markEdited(); });
  }
}

void frmKisozaiSet::myTagPictureLOCK() {
  guardStep("myTagPictureLOCK", [&] {
    for (int i = 0; i < kKisozaiMethods; ++i) {
      QWidget* panel = panels_[static_cast<std::size_t>(i)];
      if (options_[static_cast<std::size_t>(i)]->isChecked()) {
        panel->raise();
        panel->show();
      } else {
        panel->hide();
      }
    }
  });
}

void frmKisozaiSet::loadFromExchange(const DesignData& work) { record_ = kisozaiFromDesign(work); }

void frmKisozaiSet::storeToExchange(DesignData& work) const { kisozaiToDesign(record_, work); }

void frmKisozaiSet::myFormTenki() {
  guardStep("myFormTenki", [&] {
    const auto texts = kisozaiBoxTexts(record_);
    for (int i = 0; i < kKisozaiBoxes; ++i)
      fill(boxes_[static_cast<std::size_t>(i)], texts[static_cast<std::size_t>(i)]);
    rock_->setChecked(record_.ganbanFlg != 0);
  });
}

// ---- methods and storing --------------------------------------------------------------------

std::optional<int> frmKisozaiSet::selectedMethod() const {
  for (int i = 0; i < kKisozaiMethods; ++i)
    if (options_[static_cast<std::size_t>(i)]->isChecked()) return i;
  return std::nullopt;
}

void frmKisozaiSet::optKisozaiSet_Click(int index) {
  guardStep("optKisozaiSet_Click", [&] {
    // Only the chosen method's panel shows; the others keep their values, moved aside.
    const KisozaiLayout layout = kisozaiLayout(SystemInformationCaptionHeight());
    for (int i = 0; i < kKisozaiMethods; ++i) {
      QWidget* panel = panels_[static_cast<std::size_t>(i)];
      if (i == index) {
        panel->move(0, twipsToPixels(layout.panelTop));
        panel->show();
        panel->raise();
      } else {
        panel->move(twipsToPixels(-20000), twipsToPixels(layout.panelTop));
        panel->hide();
      }
    }
    markEdited();
  });
}

std::array<std::string, kKisozaiBoxes> frmKisozaiSet::boxTexts() const {
  std::array<std::string, kKisozaiBoxes> texts;
  for (int i = 0; i < kKisozaiBoxes; ++i)
    texts[static_cast<std::size_t>(i)] = boxes_[static_cast<std::size_t>(i)]->text().toStdString();
  return texts;
}

bool frmKisozaiSet::myForm2Data() {
  bool accepted = false;
  guardStep("myForm2Data", [&] {
    // A box reached by an access key may still hold raw text; one that is not a number is refused
    // below, before anything is read.
    for (DialogNumericBox* box : boxes_) box->txtTextBoxCheck();
    const KisozaiStore store =
        kisozaiForm2Data(record_, boxTexts(), rock_->isChecked(), selectedMethod(), g_designDataWork.yobikei.str());
    // Refused or declined: the computed e' boxes show the e' that stays stored.
    const auto keepStored = [&](int focus) {
      const auto stored = kisozaiBoxTexts(record_);
      for (int box : {5, 15}) fill(boxes_[static_cast<std::size_t>(box)], stored[static_cast<std::size_t>(box)]);
      boxes_[static_cast<std::size_t>(focus)]->focusAndSelect();
    };
    if (store.refusal) {
      msgBox(store.refusal->message, MsgButtons::OK, MsgIcon::None, "");
      keepStored(store.refusal->box);
      return;
    }
    // Each question guards a slip: いいえ is the default, Enter alone adopts nothing.
    for (const KisozaiQuestion& question : store.questions) {
      if (msgBox(question.message, MsgButtons::YesNoDefaultNo, MsgIcon::None, kGuardTitle) != MsgAnswer::Yes) {
        keepStored(question.box);
        return;
      }
    }
    fill(boxes_[2], store.alphaAText);
    fill(boxes_[5], store.standardText);
    fill(boxes_[15], store.deflectionText);
    fill(boxes_[6], boxText(store.record.hanryokuKeisuSemento, "0.00"));
    fill(boxes_[7], boxText(store.record.hanryokuKeisuShokokei, "0.00"));
    record_ = store.record;
    accepted = true;
  });
  return accepted;
}

// ---- explanations ---------------------------------------------------------------------------

bool frmKisozaiSet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    for (int i = 0; i < kKisozaiMethods; ++i)
      if (watched == options_[static_cast<std::size_t>(i)]) shielded([this, i] { optKisozaiSet_GotFocus(i); });
  }
  return ConditionDialog::eventFilter(watched, event);
}

void frmKisozaiSet::optKisozaiSet_GotFocus(int index) {
  showExplanation(optionExplanation(index), "optKisozaiSet_GotFocus");
}

void frmKisozaiSet::txtTextBoxKaisetuHyoji(int index) {
  showExplanation(boxExplanation(index), "txtTextBoxKaisetuHyoji");
}

void frmKisozaiSet::showExplanation(const KisozaiExplanation& explanation, const char* label) {
  switch (explanation.kind) {
    case KisozaiExplanation::Keep: return;
    case KisozaiExplanation::Clear: picImage_->clearArea(); return;
    case KisozaiExplanation::Text: picImage4msg(explanation.content); return;
    case KisozaiExplanation::Picture: break;
  }
  const QString name = QString::fromLatin1(explanation.content);
  const QString path = QString::fromStdString(myPathEdit(g_app.g_appPath) + "IMAGE/") + name;
  QImage image;
  if (image.load(path)) {
    picImage_->showPicture(image, name);
    return;
  }
  // The area never keeps another control's explanation beside this one.
  picImage_->clearArea();
  if (pictureErrorShown_) return;
  pictureErrorShown_ = true;
  guardStep(label, [&] {
    if (!image.load(path)) raiseError(err::kFileNotFound);
    picImage_->showPicture(image, name);
  });
}

void frmKisozaiSet::picImage4msg(const char* text) {
  guardStep("picImage4msg", [&] {
    if (!text || !*text) {
      picImage_->clearArea();
      return;
    }
    picImage_->showLines(explanationLines(text));
  });
}

// ---- the document's side --------------------------------------------------------------------

bool runKisozaiSet(QWidget* mainWindow, DesignData& record, bool& flag, const ShowDialog& show) {
  bool takenOver = false;
  guardStep("cmdKisozaiSet_Click", [&] {
    takenOver = runConditionExchange(record, flag, [&] {
      frmKisozaiSet dialog(mainWindow, flag);
      show(dialog);
    });
  });
  return takenOver;
}

}  // namespace tovakin::gui
