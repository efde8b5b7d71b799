#pragma once
// frmNaigaiatuSet: the combination-formula dialog, in which the user sets the safety factor S and
// the coefficient n (the exponent) of the internal/external pressure combination formula of one
// design case, beside a picture that explains the formula. Its rules stand in naigaiatu_rules.h.
#include <functional>

#include "app/design_data.h"
#include "dialogs/condition_dialog.h"
#include "dialogs/naigaiatu_rules.h"
#include "ui/layer.h"

class QDialog;
class QGroupBox;
class QLabel;

namespace tovakin::gui {

class DialogNumericBox;

class frmNaigaiatuSet : public ConditionDialog {
  Q_OBJECT
 public:
  // `mainWindow` parents the dialog (it is centred over it); `takeOverFlag` is the opening
  // document's blnNaigaiatuWorkFlg.
  frmNaigaiatuSet(QWidget* mainWindow, bool& takeOverFlag);

  // The load of every showing: captions, icon, layout and picture, then S and n from the
  // exchange copy into the boxes, unchanged, the focus on Cancel. It runs each time the dialog
  // is shown, so a dialog kept between openings never shows an earlier case's values.
  void Form_Load();

  DialogNumericBox* txtTextBox(int index) const;
  const NaigaiatuSetData& data() const { return data_; }
  QLabel* picImage() const { return picImage_; }

  void setVisible(bool visible) override;

 protected:
  void loadFromExchange(const DesignData& work) override;
  void storeToExchange(DesignData& work) const override;
  bool myForm2Data() override;

 private:
  void myFormEdit();
  void myFormTenki();

  NaigaiatuSetData data_;
  QWidget* picMyForm_ = nullptr;
  QWidget* picCommand_ = nullptr;
  QLabel* picImage_ = nullptr;
  QGroupBox* fraFrame_ = nullptr;
  DialogNumericBox* boxes_[2] = {nullptr, nullptr};
};

// cmdNaigaiatuSet_Click's opening of frmNaigaiatuSet, parented to the main window.
bool runNaigaiatuSet(QWidget* mainWindow, DesignData& record, bool& flag, const ShowDialog& show = showModal);

}  // namespace tovakin::gui
