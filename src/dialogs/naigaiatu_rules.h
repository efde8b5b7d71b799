#pragma once
// The rules behind the combination-formula dialog frmNaigaiatuSet, without a widget: its copy of
// the two fields it edits (the safety factor S and the exponent n of the internal/external
// pressure combination formula), what OK and Apply refuse and what they ask, and the layout.
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "app/design_data.h"
#include "ui/layer.h"

namespace tovakin::gui {

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

}  // namespace tovakin::gui
