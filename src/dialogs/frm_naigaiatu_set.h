#pragma once
// frmNaigaiatuSet: the combination-formula dialog, in which the user sets the safety factor S and
// the coefficient n (the exponent) of the internal/external pressure combination formula of one
// design case, beside a picture that explains the formula.
//
// The rules behind the window are plain functions first (record, refusals, layout), the window
// after them.
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/design_data.h"
#include "dialogs/condition_dialog.h"
#include "ui/layer.h"

class QDialog;
class QGroupBox;
class QLabel;

namespace tovakin::gui {

class DialogNumericBox;

// The dialog's own copy of the two fields it edits, named as the fields they mirror.
struct NaigaiatuSetData {
  double naigaiatuAnzenritu = 0.0;  // S, box 0
  double naigaiatuKeisuN = 0.0;     // n, box 1
  bool operator==(const NaigaiatuSetData&) const = default;
};

// myFormInit's and myData2KanData's field moves: S and then n, nothing else of the record.
NaigaiatuSetData naigaiatuFromExchange(const DesignData& work);
void naigaiatuToExchange(const NaigaiatuSetData& data, DesignData& work);

// Values the dialog does not store: n <= 0 makes the allowable internal pressure 0 for every
// case and a negative n a division fault in the calculation, S <= 0 fails the input check.
struct NaigaiatuRefusal {
  int box;              // the box that gets the focus
  std::string message;  // the notice, shown with OK and no icon
};
std::optional<NaigaiatuRefusal> naigaiatuRefusal(const NaigaiatuSetData& data);
// What OK and Apply ask before they store: the input limits of this dialog (app/input_limits.h)
// the values go beyond, S before n, each with the box that No returns to.
struct NaigaiatuQuestion {
  int box;
  std::string message;
};
std::vector<NaigaiatuQuestion> naigaiatuQuestions(const NaigaiatuSetData& data);
inline constexpr const char* kNaigaiatuSRefused = "安全率(S)を0以下にすることは出来ません。";
inline constexpr const char* kNaigaiatuNRefused = "管の種類や構造等によって決まる係数(n)を0以下にすることは出来ません。";

// The designed layout in twips, each rectangle relative to its container: picImage, the frame
// and the button bar inside picMyForm, the labels and the boxes inside the frame. The bar stands
// in the bottom-right corner of picMyForm.
struct NaigaiatuLayout {
  QRect picMyForm, picImage, fraFrame, label1, label2, box0, box1, picCommand;
};
NaigaiatuLayout naigaiatuLayout();

// The designed outer size is picMyForm's width, and its height plus the caption; without the
// caption and the border the client area is picMyForm itself. Twips.
QSize conditionDialogOuterTwips(QSize picMyForm, int captionTwips);
QSize conditionDialogClientTwips(QSize outer, int captionTwips, int borderTwips);

inline constexpr const char* kNaigaiatuCaption = "内外圧合成式係数設定";
inline constexpr const char* kNaigaiatuPicture = "IMAGE/S9-4-1.BMP";
inline constexpr const char* kNaigaiatuPattern = "0.00";

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
