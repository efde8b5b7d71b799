#include "dialogs/frm_options.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <string_view>
#include <utility>

#include "app/recent_files.h"
#include "app/settings.h"
#include "dialogs/condition_dialog.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/button_keys.h"
#include "ui/abort_boundary.h"
#include "ui/form_helpers.h"
#include "ui/box_style.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {
namespace {

QString qtext(const char* utf8) { return QString::fromUtf8(utf8); }

// A label's alignment for how its text stands.
Qt::Alignment alignmentOf(OptionsText text) {
  switch (text) {
    case OptionsText::Centred:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case OptionsText::TwoLines:
      return Qt::AlignTop;
    case OptionsText::Left:
    case OptionsText::Wrapped:
      break;
  }
  return Qt::AlignVCenter;
}

QString nameOf(const OptionsControl& c) {
  return c.index < 0 ? QString::fromLatin1(c.name) : QStringLiteral("%1_%2").arg(QLatin1String(c.name)).arg(c.index);
}

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
  for (int page = 0; page < kOptionsPageCount; ++page) {
    const OptionsPageDesign& design = optionsPages()[static_cast<std::size_t>(page)];
    auto* pageWidget = new QWidget;
    pageWidget->setObjectName(QStringLiteral("picOptions_%1").arg(page));
    auto* frame = new QGroupBox(qtext(design.frame), pageWidget);
    frame->setObjectName(QStringLiteral("fraFrame_%1").arg(page));
    frame->setGeometry(twipsRect(kOptionsFrameLeft, kOptionsFrameTop, design.width, design.height));
    frames_[static_cast<std::size_t>(page)] = frame;
    tabs_->addTab(pageWidget, qtext(design.tab));
  }

  // The labels, the history button and the unit captions, as the table places them; the command
  // buttons are the bar's.
  for (const OptionsControl& c : optionsControls()) {
    if (c.page == kOnCommandBar) continue;
    QWidget* frame = frames_[static_cast<std::size_t>(c.page)];
    QWidget* made = nullptr;
    switch (c.kind) {
      case OptionsKind::Label: {
        auto* label = new QLabel(qtext(c.caption), frame);
        if (c.text == OptionsText::Wrapped) {
          label->setWordWrap(true);
        } else {
          label->setAlignment(alignmentOf(c.text));
        }
        if (std::string_view(c.name) == "lblHistoryFileClearInfo") mruInfo_ = label;
        made = label;
        break;
      }
      case OptionsKind::Button: {  // the one button on a page: the history button
        mruClear_ = new QPushButton(qtext(c.caption), frame);
        mruClear_->setAutoDefault(false);
        pressOnEnter(*mruClear_);
        connect(mruClear_, &QPushButton::clicked, this, [this] { shielded([this] { cmdMRUClear_Click(); }); });
        made = mruClear_;
        break;
      }
      case OptionsKind::Unit: {
        auto* unit = new UnitCaption(frame);
        TanniPrint(*unit, qtext(c.caption), 11, 0);
        made = unit;
        break;
      }
    }
    made->setObjectName(nameOf(c));
    made->setGeometry(twipsRect(c.left, c.top, c.width, c.height));
    if (c.tip) made->setToolTip(qtext(c.tip));
  }

  // The boxes, as the settings table places them.
  for (int i = 0; i < kOptionsBoxCount; ++i) {
    const OptionsBox& design = optionsBoxes()[static_cast<std::size_t>(i)];
    QWidget* frame = frames_[static_cast<std::size_t>(design.page)];
    auto* box = new DialogNumericBox(i, design.pattern, false, frame);
    box->setGeometry(twipsRect(design.left, design.top, kOptionsBoxWidth, kOptionsBoxHeight));
    connect(box, &DialogNumericBox::edited, this, [this] { markEdited(); });
    boxes_[static_cast<std::size_t>(i)] = box;
  }
}

void frmOptions::buildCommandBar(QWidget* form) {
  commandBar_ = new QWidget(form);
  commandBar_->setObjectName(QStringLiteral("picCommand"));
  commandBar_->resize(twipsSize(kOptionsBarWidth, kOptionsBarHeight));
  for (const OptionsControl& c : optionsControls()) {
    if (c.page != kOnCommandBar) continue;
    const int i = c.index;
    auto* button = new QPushButton(qtext(c.caption), commandBar_);
    button->setObjectName(nameOf(c));
    setTag(*button, QString::fromLatin1(c.tag));
    button->setGeometry(twipsRect(c.left, c.top, c.width, c.height));
    // As in the condition dialogs, no button is the default or the cancel button; Enter on the
    // focused button presses it.
    button->setAutoDefault(false);
    button->setDefault(false);
    pressOnEnter(*button);
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
    const OptionsLayout layout = optionsLayout();
    form_->setGeometry(twipsRect(0, 0, layout.formWidth, layout.formHeight));
    tabs_->setGeometry(twipsRect(layout.tabLeft, layout.tabTop, layout.tabWidth, layout.tabHeight));
    commandBar_->move(twipsRect(layout.commandLeft, layout.commandTop, 0, 0).topLeft());
    for (int page = 0; page < kOptionsPageCount; ++page) {
      QWidget* frame = frames_[static_cast<std::size_t>(page)];
      // The designed places count from a frame whose caption stands in its border line; the
      // style here puts the caption above the line, so the contents move down by the difference.
      const int drop = std::max(0, frame->contentsRect().top() - twipsToPixels(kOptionsFrameCaptionBand));
      for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->pos() + QPoint(0, drop));
      QRect area = twipsRect(kOptionsFrameLeft, kOptionsFrameTop, layout.frameWidth,
                             optionsPages()[static_cast<std::size_t>(page)].height);
      area.setHeight(area.height() + drop);
      frame->setGeometry(area);
    }
    // The designed size is the client area; the caption and the borders come on top.
    setFixedSize(twipsSize(layout.formWidth, layout.formHeight));
    ToolTip2Caption(*this);
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
    // Nothing is read from a box whose text is not one number ("0,5").
    for (int i = 0; i < kOptionsBoxCount; ++i) {
      if (!unreadableBoxText(texts[static_cast<std::size_t>(i)])) continue;
      showBox(i);
      refuseUnreadable(*boxes_[static_cast<std::size_t>(i)]);
      return;
    }
    CalcSettings read = myData_;
    if (const std::optional<int> bad = optionsForm2Data(texts, read)) {
      showBox(*bad);
      return;
    }
    // A constant that would make every result meaningless is refused: nothing is kept.
    // The refused box's page comes to the front first, so that the message stands over the box
    // it speaks of.
    if (const auto refusal = optionsRefusal(read)) {
      showBox(refusal->box);
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
