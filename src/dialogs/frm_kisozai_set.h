#pragma once
// frmKisozaiSet, "基礎材の反力係数設定": the engineer settles the foundation-material reaction
// modulus e' of one design case by one of five methods, each on its own panel, with an
// explanation of the focused box or method beside the method options. The rules behind it
// (record, formulas, value buttons, explanations, layout) are kisozai_rules.h; this is the form.
#include <QFrame>
#include <QImage>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/condition_dialog.h"
#include "dialogs/kisozai_rules.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tovakin::gui {

class DialogNumericBox;

// picImage: shows either an explanation picture or the lines of an explanation text, from its
// top-left corner, cut at its edges.
class ExplanationArea : public QFrame {
 public:
  explicit ExplanationArea(QWidget* parent);
  void showPicture(const QImage& image, const QString& name);
  void showLines(const std::vector<std::string>& lines);
  void clearArea();

  QString pictureName() const { return pictureName_; }
  QStringList lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QString pictureName_;
  QStringList lines_;
};

class frmKisozaiSet : public ConditionDialog {
  Q_OBJECT
 public:
  // `parent` is the main window; `takeOverFlag` the opening document's blnKisozaiWorkFlg. The
  // dialog reads g_designDataWork as it is now.
  frmKisozaiSet(QWidget* parent, bool& takeOverFlag);

  DialogNumericBox* txtTextBox(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
  QRadioButton* optKisozaiSet(int index) const { return options_.at(static_cast<std::size_t>(index)); }
  QWidget* picOptions(int index) const { return panels_.at(static_cast<std::size_t>(index)); }
  QPushButton* cmdCommandSub(int index) const { return subs_.at(static_cast<std::size_t>(index)); }
  QCheckBox* chkCheck() const { return rock_; }
  ExplanationArea* picImage() const { return picImage_; }
  const KisozaiSetData& record() const { return record_; }
  // The selected method, nullopt while none is.
  std::optional<int> selectedMethod() const;

  // Shows the method's panel and marks the dialog edited.
  void optKisozaiSet_Click(int index);
  void optKisozaiSet_GotFocus(int index);
  void txtTextBoxKaisetuHyoji(int index);

 protected:
  void loadFromExchange(const DesignData& work) override;
  void storeToExchange(DesignData& work) const override;
  bool myForm2Data() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void myFormEdit();
  void buildPanel(int method, const KisozaiLayout& layout);
  void myFormTenki();
  void myTagPictureLOCK();
  void showExplanation(const KisozaiExplanation& explanation, const char* label);
  void picImage4msg(const char* text);
  std::array<std::string, kKisozaiBoxes> boxTexts() const;

  KisozaiSetData record_;
  std::array<DialogNumericBox*, kKisozaiBoxes> boxes_{};
  std::array<QRadioButton*, kKisozaiMethods> options_{};
  std::array<QWidget*, kKisozaiMethods> panels_{};
  std::array<QGroupBox*, kKisozaiMethods> frames_{};
  std::array<QPushButton*, 12> subs_{};
  QCheckBox* rock_ = nullptr;
  QWidget* picMyForm_ = nullptr;
  ExplanationArea* picImage_ = nullptr;
  // A missing picture is reported once per opening, not at every focus change.
  bool pictureErrorShown_ = false;
};

// cmdKisozaiSet_Click's opening of frmKisozaiSet, parented to the main window: the exchange of
// every condition dialog (runConditionExchange), the dialog shown by `show`. True when the record
// was taken over: the document is then changed and shows the record's new e'. The document runs
// its own myForm2Data before.
bool runKisozaiSet(QWidget* mainWindow, DesignData& record, bool& flag, const ShowDialog& show = showModal);

}  // namespace tovakin::gui
