#include "dialogs/frm_options.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <utility>

#include "app/recent_files.h"
#include "app/settings.h"
#include "dialogs/condition_dialog.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/abort_boundary.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {
namespace {

QString qtext(const char* utf8) { return QString::fromUtf8(utf8); }

struct PageDesign {
  const char* tab;    // the tab's caption
  const char* frame;  // the frame's caption
  int width, height;  // the frame's designed size (twips)
};
constexpr PageDesign kPages[kOptionsPageCount] = {
    {"単位体積重量", "単位体積重量", 5640, 1425},
    {"設計支持角係数", "設計支持角", 9120, 1755},
    {"計算条件", "計算条件", 5640, 3225},
    {"荷重規格", "荷重規格", 10800, 2505},
    {"プログラムオプション", "プログラムオプション", 5640, 3225},
};

struct CommandDesign {
  const char* tag;  // the string-table id of its caption
  const char* caption;
  int left;
};
constexpr CommandDesign kCommands[] = {{"1059", "OK(&O)", 0}, {"1058", "ｷｬﾝｾﾙ(&C)", 1200}, {"1057", "適用(&A)", 2400}};
constexpr int kBarWidth = 3615, kBarHeight = 495, kButtonWidth = 1095, kButtonHeight = 375;
constexpr int kBoxWidth = 1095, kBoxHeight = 270;
constexpr int kLabelHeight = 255;
constexpr int kFrameCaptionBand = 120;  // the height above a frame's border line
constexpr int kUnitLeft = 4560, kUnitWidth = 855, kUnitHeight = 255;

// Labels that carry an explanation; the fourth label of the conditions page has none.
struct LabelTip {
  int index;
  const char* tip;
};
constexpr LabelTip kLabelTips[] = {
    {3, "自動車荷重考慮時の荷重分布角を入力します。標準値は45°です。"},
    {4, "自動車荷重考慮時の車両占有幅を入力します。標準値は2.75です。"},
    {12, "浮上検討時の安全率を入力します。標準は1.2です。"},
};

}  // namespace

frmOptions::frmOptions(QWidget* parent, OptionsOpener opener) : QDialog(parent), opener_(std::move(opener)) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(qtext("ｵﾌﾟｼｮﾝ"));
  setTag(*this, QStringLiteral("1052"));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  form_ = new QWidget(this);
  form_->setObjectName(QStringLiteral("picMyForm"));
  tabs_ = new QTabWidget(form_);
  tabs_->setObjectName(QStringLiteral("tbsOptions"));
  buildPages();
  buildCommandBar(form_);
  Form_Load();
}

void frmOptions::buildPages() {
  int labelNumber = 0;  // Label1 is one array across pages 1, 2 and 4
  const auto label = [&](QWidget* frame, const char* text, int left, int top, int width, Qt::Alignment align = {},
                         int height = kLabelHeight) {
    auto* l = new QLabel(qtext(text), frame);
    l->setObjectName(QStringLiteral("Label1_%1").arg(labelNumber++));
    l->setGeometry(twipsRect(left, top, width, height));
    l->setAlignment((align & Qt::AlignVertical_Mask) ? align : align | Qt::AlignVCenter);
    return l;
  };
  for (int page = 0; page < kOptionsPageCount; ++page) {
    auto* pageWidget = new QWidget;
    pageWidget->setObjectName(QStringLiteral("picOptions_%1").arg(page));
    auto* frame = new QGroupBox(qtext(kPages[page].frame), pageWidget);
    frame->setObjectName(QStringLiteral("fraFrame_%1").arg(page));
    frame->setGeometry(twipsRect(120, 120, kPages[page].width, kPages[page].height));
    frames_[static_cast<std::size_t>(page)] = frame;
    tabs_->addTab(pageWidget, qtext(kPages[page].tab));
  }
  QWidget* unitWeights = frames_[kPageUnitWeights];
  QWidget* angles = frames_[kPageSupportAngle];
  QWidget* conditions = frames_[kPageConditions];
  QWidget* loads = frames_[kPageLoads];
  QWidget* program = frames_[kPageProgram];

  // Page 1: the three unit weights.
  label(unitWeights, "土の単位体積重量", 120, 240, 3135);
  label(unitWeights, "飽和土単位体積重量", 120, 600, 3135);
  label(unitWeights, "水の単位体積重量", 120, 960, 3135);

  // Page 2: K, Ko and Kp by the design support angle.
  label(angles, "基礎の設計支持角", 120, 240, 1560);
  const char* angleHeadings[] = {"0°", "30°", "60°", "90°", "120°", "180°"};
  for (int col = 0; col < 6; ++col)
    label(angles, angleHeadings[col], 1800 + 1200 * col, 240, kBoxWidth, Qt::AlignHCenter);
  label(angles, "K", 120, 600, 1560);
  label(angles, "Ko", 120, 960, 1560);
  label(angles, "Kp", 120, 1320, 1560);

  // Page 3: the calculation conditions, labels of their own array numbered like their boxes
  // (the friction angle's label is number 0).
  const std::pair<int, const char*> conditionLabels[] = {
      {3, "荷重分布角"}, {4, "車両占有幅"}, {12, "浮上検討時の安全率(S)"}, {0, "内部摩擦角の標準値"}};
  const int conditionBoxes[] = {3, 4, 12, 11};
  for (int row = 0; row < 4; ++row) {
    auto* l = new QLabel(qtext(conditionLabels[row].second), conditions);
    l->setObjectName(QStringLiteral("lblLabel_%1").arg(conditionLabels[row].first));
    const OptionsBox& box = optionsBoxes()[static_cast<std::size_t>(conditionBoxes[row])];
    l->setGeometry(twipsRect(120, box.top, 3135, kLabelHeight));
    l->setAlignment(Qt::AlignVCenter);
  }

  // Page 4: wheel loads, reduction factors and impact coefficients.
  label(loads, "荷重条件", 120, 240, 1440);
  const char* trucks[] = {"T-25", "T-20", "T-14", "T-10"};
  for (int row = 0; row < 4; ++row) label(loads, trucks[row], 120, 600 + 360 * row, 1440);
  label(loads, "後輪荷重", 1680, 240, kBoxWidth, Qt::AlignHCenter);
  label(loads, "断面力の低減係数β", 2880, 240, 2655);
  label(loads, "T-25", 2880, 600, 1440);
  label(loads, "T-25以外", 2880, 960, 1440);
  label(loads, "衝撃係数（自動車荷重） ｉ の標準値", 5640, 240, 5055);
  label(loads, "状態/土かぶり", 5640, 600, 1500);
  const char* depths[] = {"1.5未満", "1.5～2.5未満", "2.5以上"};
  for (int col = 0; col < 3; ++col) label(loads, depths[col], 7200 + 1200 * col - 52, 600, 1200, Qt::AlignHCenter);
  label(loads, "未舗装道路", 5640, 960, 1500);
  // Two lines, broken between the words: a wrap would split the half-width katakana.
  label(loads, "ｺﾝｸﾘｰﾄおよび\nｱｽﾌｧﾙﾄ舗装道路", 5640, 1440, 1500, Qt::AlignTop, 480);

  // Page 5: clearing the recent-file list.
  mruClear_ = new QPushButton(qtext("ファイル履歴の削除(&D)"), program);
  mruClear_->setObjectName(QStringLiteral("cmdMRUClear"));
  mruClear_->setGeometry(twipsRect(120, 240, 2415, 495));
  mruClear_->setAutoDefault(false);
  connect(mruClear_, &QPushButton::clicked, this, [this] { shielded([this] { cmdMRUClear_Click(); }); });
  mruInfo_ =
      new QLabel(qtext("ファイル読み込み履歴を削除する場合、このボタンを押してください。元には戻せません。"), program);
  mruInfo_->setObjectName(QStringLiteral("lblHistoryFileClearInfo"));
  mruInfo_->setGeometry(twipsRect(120, 840, 5175, 495));
  mruInfo_->setWordWrap(true);

  // The boxes and their unit captions, as the settings table places them.
  int unitNumber = 0;
  for (int i = 0; i < kOptionsBoxCount; ++i) {
    const OptionsBox& design = optionsBoxes()[static_cast<std::size_t>(i)];
    QWidget* frame = frames_[static_cast<std::size_t>(design.page)];
    auto* box = new DialogNumericBox(i, design.pattern, false, frame);
    box->setGeometry(twipsRect(design.left, design.top, kBoxWidth, kBoxHeight));
    connect(box, &DialogNumericBox::edited, this, [this] { markEdited(); });
    boxes_[static_cast<std::size_t>(i)] = box;
  }
  // Unit captions are numbered in the order of their boxes on pages 1 and 3.
  for (int i : {0, 1, 2, 3, 4, 11}) {
    const OptionsBox& design = optionsBoxes()[static_cast<std::size_t>(i)];
    auto* unit = new UnitCaption(frames_[static_cast<std::size_t>(design.page)]);
    TanniPrint(*unit, qtext(design.unit), 11, 0);
    unit->setObjectName(QStringLiteral("picTanni_%1").arg(unitNumber++));
    unit->setGeometry(twipsRect(kUnitLeft, design.top, kUnitWidth, kUnitHeight));
  }
}

void frmOptions::buildCommandBar(QWidget* form) {
  commandBar_ = new QWidget(form);
  commandBar_->setObjectName(QStringLiteral("picCommand"));
  commandBar_->resize(twipsSize(kBarWidth, kBarHeight));
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(qtext(kCommands[i].caption), commandBar_);
    button->setObjectName(QStringLiteral("cmdCommand_%1").arg(i));
    setTag(*button, QString::fromLatin1(kCommands[i].tag));
    button->setGeometry(twipsRect(kCommands[i].left, 0, kButtonWidth, kButtonHeight));
    // As in the condition dialogs, neither Enter nor Escape presses a button.
    button->setAutoDefault(false);
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { shielded([this, i] { cmdCommand_Click(i); }); });
    commands_[static_cast<std::size_t>(i)] = button;
  }
}

void frmOptions::Form_Load() {
  guardStep("Form_Load", [&] {
    myFormResString(*this);
    setMyIcon(*this);
    myFormEdit();
    myFormInit();
    myData_ = g_calcSettings;
    myFormTenki();
    const bool history = historyClearEnabled(g_recentFiles);
    mruClear_->setEnabled(history);
    mruInfo_->setEnabled(history);
    boxes_[0]->setFocus(Qt::OtherFocusReason);
  });
}

void frmOptions::myFormEdit() {
  guardStep("myFormEdit", [&] {
    std::array<std::pair<int, int>, kOptionsPageCount> frameSizes{};
    for (int page = 0; page < kOptionsPageCount; ++page)
      frameSizes[static_cast<std::size_t>(page)] = {kPages[page].width, kPages[page].height};
    const OptionsLayout layout = optionsLayout(frameSizes, kBarWidth);
    form_->setGeometry(twipsRect(0, 0, layout.formWidth, layout.formHeight));
    tabs_->setGeometry(twipsRect(layout.tabLeft, layout.tabTop, layout.tabWidth, layout.tabHeight));
    commandBar_->move(twipsRect(layout.commandLeft, layout.commandTop, 0, 0).topLeft());
    for (int page = 0; page < kOptionsPageCount; ++page) {
      QWidget* frame = frames_[static_cast<std::size_t>(page)];
      // The designed places count from a frame whose caption stands in its border line; the
      // style here puts the caption above the line, so the contents move down by the difference.
      const int drop = std::max(0, frame->contentsRect().top() - twipsToPixels(kFrameCaptionBand));
      for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->pos() + QPoint(0, drop));
      QRect area = twipsRect(120, 120, layout.frameWidth, kPages[page].height);
      area.setHeight(area.height() + drop);
      frame->setGeometry(area);
    }
    // The designed size is the client area; the caption and the borders come on top.
    setFixedSize(twipsSize(layout.formWidth, layout.formHeight));
    ToolTip2Caption(*this);
    for (const LabelTip& t : kLabelTips)
      if (auto* l = findChild<QLabel*>(QStringLiteral("lblLabel_%1").arg(t.index))) l->setToolTip(qtext(t.tip));
    // Tab order: the boxes page by page, the history button, OK, Cancel, Apply, the tab strip.
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* w) {
      if (previous) setTabOrder(previous, w);
      previous = w;
    };
    for (int i : optionsTabOrder()) chain(boxes_[static_cast<std::size_t>(i)]);
    chain(mruClear_);
    for (QPushButton* b : commands_) chain(b);
    chain(tabs_);
    for (int i = 0; i < kOptionsBoxCount; ++i) {
      const int next = optionsBoxes()[static_cast<std::size_t>(i)].next;
      if (next == kEnterOk) {
        boxes_[static_cast<std::size_t>(i)]->setEnterSuccessorOk(commands_[kOk], commands_[kCancel]);
      } else {
        boxes_[static_cast<std::size_t>(i)]->setEnterSuccessor(boxes_[static_cast<std::size_t>(next)]);
      }
    }
    tabs_->setCurrentIndex(0);
  });
}

void frmOptions::myFormInit() {
  guardStep("myFormInit", [&] {
    unchanged_ = true;
    commands_[kOk]->setEnabled(!unchanged_);
    commands_[kApply]->setEnabled(!unchanged_);
  });
}

void frmOptions::myFormTenki() {
  guardStep("myFormTenki", [&] {
    for (int i = 0; i < kOptionsBoxCount; ++i)
      boxes_[static_cast<std::size_t>(i)]->setText(QString::fromStdString(optionsBoxText(myData_, i)));
  });
}

void frmOptions::markEdited() {
  unchanged_ = false;
  commands_[kOk]->setEnabled(!unchanged_);
  commands_[kApply]->setEnabled(!unchanged_);
}

bool frmOptions::myForm2Data() {
  bool stored = false;
  guardStep("myForm2Data", [&] {
    // An access key presses OK or Apply without taking the focus: the box being typed in still
    // holds the raw text, so it is re-formatted first, as leaving it would.
    if (auto* focused = qobject_cast<DialogNumericBox*>(focusWidget()); focused && isAncestorOf(focused))
      focused->txtTextBoxCheck();
    std::array<std::string, kOptionsBoxCount> texts;
    for (int i = 0; i < kOptionsBoxCount; ++i)
      texts[static_cast<std::size_t>(i)] = boxes_[static_cast<std::size_t>(i)]->text().toStdString();
    const auto showBox = [this](int index) {
      tabs_->setCurrentIndex(optionsBoxes()[static_cast<std::size_t>(index)].page);
      boxes_[static_cast<std::size_t>(index)]->focusAndSelect();
    };
    CalcSettings read = myData_;
    if (const std::optional<int> bad = optionsForm2Data(texts, read)) {
      showBox(*bad);
      return;
    }
    // A constant that would make every result meaningless is refused: nothing is kept.
    if (const auto refusal = optionsRefusal(read)) {
      platform::msgBox(refusal->message);
      showBox(refusal->box);
      return;
    }
    myData_ = read;
    stored = true;
  });
  return stored;
}

void frmOptions::myDocumentFormRefresh() {
  guardStep("myDocumentFormRefresh", [&] {
    if (opener_.refreshDocuments) opener_.refreshDocuments();
  });
}

bool frmOptions::storeSettings() {
  if (!myForm2Data()) return false;
  g_calcSettings = myData_;
  APP初期値ファイルの書き込み();
  myDocumentFormRefresh();
  return true;
}

void frmOptions::cmdCommand_Click(int index) {
  guardStep("cmdCommand_Click", [&] {
    switch (index) {
      case kOk:
        if (storeSettings()) accept();
        break;
      case kCancel:
        reject();
        break;
      case kApply:
        if (!storeSettings()) return;
        unchanged_ = true;
        commands_[kApply]->setEnabled(!unchanged_);
        break;
      default:
        break;
    }
  });
}

void frmOptions::cmdMRUClear_Click() {
  const char* label = "cmdMRUClear_Click";
  guardStep(label, [&] {
    g_recentFiles = {};
    if (opener_.hideRecentFiles) opener_.hideRecentFiles();
  });
  履歴ファイル更新("");
  guardStep(label, [&] {
    mruClear_->setEnabled(false);
    mruInfo_->setEnabled(false);
  });
}

void frmOptions::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (event->modifiers() & Qt::ControlModifier)) {
    // A Ctrl+Tab reaches the dialog only when the focus is outside the tab strip (the command
    // bar): the tab strip switches the page as it does for its own controls, once.
    QCoreApplication::sendEvent(tabs_, event);
    return;
  }
  if (!swallowCommandKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace tovakin::gui
