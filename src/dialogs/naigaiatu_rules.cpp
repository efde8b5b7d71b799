#include "dialogs/naigaiatu_rules.h"

#include "app/input_limits.h"
#include "platform/error_box.h"

namespace tovakin::gui {

namespace {
QRect rect(int left, int top, int width, int height) { return {left, top, width, height}; }
}  // namespace

NaigaiatuSetData naigaiatuFromExchange(const DesignData& work) {
  NaigaiatuSetData data;
  data.naigaiatuAnzenritu = work.naigaiatuAnzenritu;
  data.naigaiatuKeisuN = work.naigaiatuKeisuN;
  return data;
}

void naigaiatuToExchange(const NaigaiatuSetData& data, DesignData& work) {
  work.naigaiatuAnzenritu = data.naigaiatuAnzenritu;
  work.naigaiatuKeisuN = data.naigaiatuKeisuN;
}

std::optional<NaigaiatuRefusal> naigaiatuRefusal(const NaigaiatuSetData& data) {
  // "not greater than 0" also refuses a value that is not a number.
  if (!(data.naigaiatuAnzenritu > 0)) return NaigaiatuRefusal{0, kNaigaiatuSRefused};
  if (!(data.naigaiatuKeisuN > 0)) return NaigaiatuRefusal{1, kNaigaiatuNRefused};
  return std::nullopt;
}

namespace {
// The box of a field the dialog shows; a row of this dialog for another field is a fault of the
// table, raised at once.
int boxOf(double DesignData::*field) {
  if (field == &DesignData::naigaiatuAnzenritu) return 0;
  if (field == &DesignData::naigaiatuKeisuN) return 1;
  raiseNotFound(app::designFieldName(field));
}
}  // namespace

std::vector<NaigaiatuQuestion> naigaiatuQuestions(const NaigaiatuSetData& data) {
  DesignData shown;
  naigaiatuToExchange(data, shown);
  std::vector<NaigaiatuQuestion> questions;
  for (const InputLimit& row : inputLimits()) {
    if (row.place != LimitPlace::CombinationDialog || !beyondLimit(row, shown)) continue;
    questions.push_back({boxOf(row.field), limitQuestion(row, shown)});
  }
  return questions;
}

NaigaiatuLayout naigaiatuLayout() {
  NaigaiatuLayout l;
  l.picMyForm = rect(0, 0, 6495, 5235);
  l.picImage = rect(120, 60, 6135, 3135);
  l.fraFrame = rect(120, 3300, 6120, 1125);
  l.label1 = rect(120, 360, 3375, 255);
  l.box0 = rect(3600, 360, 1095, 270);
  l.label2 = rect(120, 660, 3375, 255);
  l.box1 = rect(3600, 660, 1095, 270);
  constexpr int kBarWidth = 3735, kBarHeight = 555;
  l.picCommand = rect(l.picMyForm.width() - kBarWidth, l.picMyForm.height() - kBarHeight, kBarWidth, kBarHeight);
  return l;
}

QSize conditionDialogOuterTwips(QSize picMyForm, int captionTwips) {
  return {picMyForm.width(), picMyForm.height() + captionTwips};
}

QSize conditionDialogClientTwips(QSize outer, int captionTwips, int borderTwips) {
  return {outer.width() - 2 * borderTwips, outer.height() - captionTwips - 2 * borderTwips};
}

}  // namespace tovakin::gui
