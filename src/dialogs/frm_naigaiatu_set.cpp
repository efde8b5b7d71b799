#include "dialogs/frm_naigaiatu_set.h"

#include <QFrame>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include "app/app_state.h"
#include "app/input_limits.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "ui/abort_boundary.h"
#include "ui/box_style.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"

namespace tovakin::gui {
namespace {

constexpr int kInvalidPicture = 481;  // the runtime's "invalid picture"
// A fixed dialog frame is 3 pixels wide on each side at the designed 96 dots per inch.
constexpr int kFixedDialogBorderTwips = 3 * kTwipsPerPixel;
constexpr std::uint32_t kLabelColour = 0x00E0E0E0;

QRect pixels(const QRect& twips) { return twipsRect(twips.x(), twips.y(), twips.width(), twips.height()); }

}  // namespace

frmNaigaiatuSet::frmNaigaiatuSet(QWidget* mainWindow, bool& takeOverFlag) : ConditionDialog(mainWindow, takeOverFlag) {
  setObjectName(QStringLiteral("frmNaigaiatuSet"));
  setWindowTitle(QString::fromUtf8(kNaigaiatuCaption));
  // A fixed dialog frame: no minimise or maximise button, no size grip.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  const NaigaiatuLayout l = naigaiatuLayout();

  picMyForm_ = new QWidget(this);
  picMyForm_->setObjectName(QStringLiteral("picMyForm"));
  picMyForm_->setGeometry(pixels(l.picMyForm));

  picImage_ = new QLabel(picMyForm_);
  picImage_->setObjectName(QStringLiteral("picImage"));
  picImage_->setGeometry(pixels(l.picImage));
  picImage_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  picImage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picImage_->setAutoFillBackground(true);
  picImage_->setBackgroundRole(QPalette::Base);
  picImage_->setForegroundRole(QPalette::Text);

  fraFrame_ = new QGroupBox(QStringLiteral("内外圧合成式係数"), picMyForm_);
  fraFrame_->setObjectName(QStringLiteral("fraFrame_1"));
  fraFrame_->setGeometry(pixels(l.fraFrame));

  const struct {
    const char* caption;
    QRect label;
    QRect box;
  } rows[] = {{"安全率(S)", l.label1, l.box0}, {"管の種類や構造等によって決まる係数(n)", l.label2, l.box1}};
  for (int i = 0; i < 2; ++i) {
    auto* label = new QLabel(QString::fromUtf8(rows[i].caption), fraFrame_);
    label->setObjectName(QStringLiteral("Label1_%1").arg(i + 1));
    label->setGeometry(pixels(rows[i].label));
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, designColour(kLabelColour));
    label->setPalette(p);
    boxes_[i] = new DialogNumericBox(i, kNaigaiatuPattern, false, fraFrame_);
    boxes_[i]->setGeometry(pixels(rows[i].box));
    connect(boxes_[i], &DialogNumericBox::edited, this, [this] { markEdited(); });
  }

  picCommand_ = buildCommandBar(l.picCommand.x(), l.picCommand.y());
  picCommand_->setParent(picMyForm_);
  picCommand_->setGeometry(pixels(l.picCommand));

  // Enter: S to n, n to OK (to Cancel while OK is disabled).
  boxes_[0]->setEnterSuccessor(boxes_[1]);
  boxes_[1]->setEnterSuccessorOk(cmdCommand(kOk), cmdCommand(kCancel));
  // The buttons come first in the tab order; OK is disabled at the start, so Cancel has the focus.
  setTabOrder(cmdCommand(kOk), cmdCommand(kCancel));
  setTabOrder(cmdCommand(kCancel), cmdCommand(kApply));
  setTabOrder(cmdCommand(kApply), boxes_[0]);
  setTabOrder(boxes_[0], boxes_[1]);

  const QSize outer = conditionDialogOuterTwips(l.picMyForm.size(), SystemInformationCaptionHeight());
  const QSize client = conditionDialogClientTwips(outer, SystemInformationCaptionHeight(), kFixedDialogBorderTwips);
  setFixedSize(twipsSize(client.width(), client.height()));
}

DialogNumericBox* frmNaigaiatuSet::txtTextBox(int index) const { return boxes_[index == 0 ? 0 : 1]; }

void frmNaigaiatuSet::setVisible(bool visible) {
  if (visible && isHidden()) Form_Load();
  ConditionDialog::setVisible(visible);
}

void frmNaigaiatuSet::Form_Load() {
  guardStep("Form_Load", [&] {
    myFormResString(*this);
    setMyIcon(*this);
    myFormEdit();
    myFormInit();
    myFormTenki();
    cmdCommand(kCancel)->setFocus(Qt::OtherFocusReason);
  });
}

void frmNaigaiatuSet::myFormEdit() {
  guardStep("myFormEdit", [&] {
    for (DialogNumericBox* box : boxes_) box->setText(QString());
    ToolTip2Caption(*this);
  });
  picImage_->clear();
  // A missing or unreadable picture: Retry reads it again, Ignore leaves the area empty.
  guardStep("myFormEdit", [&] {
    const std::string path = myPathEdit(g_app.g_appPath) + kNaigaiatuPicture;
    if (!fileExists(path)) raiseError(err::kFileNotFound);
    QImageReader reader(QString::fromStdString(path));
    const QImage image = reader.read();
    if (image.isNull()) raiseError(kInvalidPicture, "ピクチャが不正です。");
    picImage_->setPixmap(QPixmap::fromImage(image));
  });
  picCommand_->raise();
}

void frmNaigaiatuSet::myFormTenki() {
  guardStep("myFormTenki", [&] {
    boxes_[0]->setValue(data_.naigaiatuAnzenritu);
    boxes_[1]->setValue(data_.naigaiatuKeisuN);
  });
}

bool frmNaigaiatuSet::myForm2Data() {
  // Nothing is read from a box whose text is not one number.
  for (DialogNumericBox* box : boxes_) {
    if (!unreadableBoxText(box->text().toStdString())) continue;
    refuseUnreadable(*box);
    return false;
  }
  // The values as the boxes show them (an empty box reads as 0), refused before anything is kept.
  NaigaiatuSetData shown;
  shown.naigaiatuAnzenritu = boxes_[0]->value();
  shown.naigaiatuKeisuN = boxes_[1]->value();
  if (const auto refusal = naigaiatuRefusal(shown)) {
    platform::msgBox(refusal->message);
    boxes_[refusal->box]->focusAndSelect();
    return false;
  }
  // Each question guards a slip: いいえ is the default, and returns to the value's box.
  for (const NaigaiatuQuestion& question : naigaiatuQuestions(shown)) {
    if (platform::msgBox(question.message, MsgButtons::YesNoDefaultNo, MsgIcon::None, kGuardTitle) != MsgAnswer::Yes) {
      boxes_[question.box]->focusAndSelect();
      return false;
    }
  }
  data_ = shown;
  return true;
}

void frmNaigaiatuSet::loadFromExchange(const DesignData& work) { data_ = naigaiatuFromExchange(work); }

void frmNaigaiatuSet::storeToExchange(DesignData& work) const { naigaiatuToExchange(data_, work); }

bool runNaigaiatuSet(QWidget* mainWindow, DesignData& record, bool& flag, const ShowDialog& show) {
  return runConditionExchange(record, flag, [&] {
    frmNaigaiatuSet dialog(mainWindow, flag);
    show(dialog);
  });
}

}  // namespace tovakin::gui
