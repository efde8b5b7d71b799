#include "dialogs/kisozai_rules.h"

#include <algorithm>

#include "app/calc_settings.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/coefficients.h"
#include "calc/pipe_lookups.h"
#include "calc/reaction_modulus.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/box_style.h"

namespace tovakin::gui {

KisozaiSetData kisozaiFromDesign(const DesignData& work) {
  KisozaiSetData record;
#define TOVAKIN_KISOZAI_LOAD(type, name) record.name = work.name;
  TOVAKIN_KISOZAI_FIELDS(TOVAKIN_KISOZAI_LOAD)
#undef TOVAKIN_KISOZAI_LOAD
  return record;
}

void kisozaiToDesign(const KisozaiSetData& record, DesignData& work) {
#define TOVAKIN_KISOZAI_STORE(type, name) work.name = record.name;
  TOVAKIN_KISOZAI_FIELDS(TOVAKIN_KISOZAI_STORE)
#undef TOVAKIN_KISOZAI_STORE
}

// ---- the methods and the boxes ------------------------------------------------------------

std::string kisozaiMethodCaption(ReactionModulusMethod method) {
  switch (method) {
    case ReactionModulusMethod::Entered: return "入力値とする";
    case ReactionModulusMethod::Formula: return "式：e'0・αa・αb・αw で計算";
    case ReactionModulusMethod::SoilCement:
      return "ソイルセメント使用より" + formatGeneral(kSoilCementReactionModulus) + "とする";
    case ReactionModulusMethod::SmallBore:
      return "口径" + formatGeneral(kSmallBoreLargestSize) + "mm以下として" + formatGeneral(kSmallBoreReactionModulus) +
             "とする";
    case ReactionModulusMethod::Deflection: return "たわみ量計測値から計算";
  }
  return {};
}

int adoptedBox(int method) {
  const std::optional<ReactionModulusMethod> known = reactionModulusMethodOf(method);
  if (known) {
    switch (*known) {
      case ReactionModulusMethod::Entered: return 0;
      case ReactionModulusMethod::Formula: return 5;
      case ReactionModulusMethod::SoilCement: return 6;
      case ReactionModulusMethod::SmallBore: return 7;
      case ReactionModulusMethod::Deflection: return 15;
    }
  }
  raiseNotFound("optKisozaiSet_" + std::to_string(method));
}

namespace {
constexpr EnterTarget toBox(int box) { return {EnterTarget::Box, box}; }
constexpr EnterTarget toOk() { return {EnterTarget::Ok, 0}; }
constexpr EnterTarget toSub(int sub) { return {EnterTarget::Sub, sub}; }
}  // namespace

// The moment of inertia of a pipe wall per metre is far below 0.0005 m⁴/m (8.3E-08 for a 10 mm
// wall): it keeps all its digits, a fixed "0.000" would show and store it as 0. The measured
// deflection increase ΔX and the radius R are metres measured to the tenth of a millimetre: they
// keep their digits too (a ΔX of 3.4 mm read as 3 mm raises e' by 16 %).
const std::array<KisozaiBoxDesign, kKisozaiBoxes> kKisozaiBoxDesigns = {{
    {0, 0, "0.00", false, 240, "Label1_0", "基礎材の反力係数：ｅ’", 0, -1, 6, -1, toOk()},
    {1, 1, "0.00", false, 300, "Label1_1", "基礎材の基準反力係数：e'0", -1, -1, 7, -1, toBox(16)},
    {16, 1, "0.000", false, 900, "Label1_3", "標準溝幅：BS値", 10, 1, 9, 15, toBox(2)},
    {2, 1, "0.00", false, 1200, "Label1_2", "溝幅による補正係数：αａ", -1, 7, 10, 16, toBox(3)},
    {3, 1, "0.00", false, 1500, "lblLabel_3", "基礎材の縦固め度による補正係数：αb", -1, -1, 11, -1, toBox(17)},
    {17, 1, "0", false, 1800, "lblLabel_13", "基礎材の縦固め度：Pr", 11, -1, 12, -1, toBox(4)},
    {4, 1, "0.00", false, 2100, "lblLabel_4", "地下水位の影響による補正係数：αw", -1, 5, 13, 17, toSub(1)},
    {5, 1, "0.00", true, 2400, "lblLabel_12", "基礎材の反力係数：ｅ’", 1, 6, 14, 18, toSub(1)},
    {6, 2, "0.00", true, 240, "lblLabel_0", "基礎材の反力係数：ｅ’", 2, -1, 19, -1, toOk()},
    {7, 3, "0.00", true, 240, "lblLabel_1", "基礎材の反力係数：ｅ’", 3, -1, 20, -1, toOk()},
    {9, 4, "0.0", false, 300, "lblLabel_5", "変形遅れ係数：F1(F1=1.0)", -1, 9, 21, 29, toBox(10)},
    {10, 4, "0.000", false, 600, "lblLabel_6", "基礎の支持角から決まる係数：Ｋ", -1, 10, 22, 30, toBox(11)},
    {11, 4, "0.000", false, 900, "lblLabel_7", "土圧・上載荷重による鉛直荷重：Ｗｖ", 5, -1, 23, -1, toBox(12)},
    {12, 4, kGeneralPattern, false, 1200, "lblLabel_8", "管厚中心半径：Ｒ", 6, -1, 24, -1, toBox(13)},
    {13, 4, "0.000", false, 1500, "lblLabel_9", "管材のヤング係数：Ｅ", 7, -1, 25, -1, toBox(14)},
    {14, 4, kGeneralPattern, false, 1800, "lblLabel_10", "管材断面二次モーメント：I", 8, -1, 26, -1, toBox(8)},
    {8, 4, kGeneralPattern, false, 2100, "lblLabel_2", "増加たわみ量：ΔX", 4, -1, 27, -1, toSub(9)},
    {15, 4, "0.00", true, 2400, "lblLabel_11", "基礎材の反力係数：ｅ’", 9, 11, 28, 31, toSub(9)},
}};

const KisozaiBoxDesign& boxDesign(int box) {
  const auto it = std::find_if(kKisozaiBoxDesigns.begin(), kKisozaiBoxDesigns.end(),
                               [box](const KisozaiBoxDesign& d) { return d.box == box; });
  if (it == kKisozaiBoxDesigns.end()) raiseNotFound("txtTextBox_" + std::to_string(box));
  return *it;
}

const std::array<const char*, 12> kKisozaiUnits = {"kN/m^2", "kN/m^2", "kN/m^2", "kN/m^2", "m",  "kN/m^2",
                                                   "m",      "kN/m^2", "m^4/m",  "kN/m^2", "mm", "％"};

namespace {

// The record's member each box shows and stores, by box index, and the design record's field of
// the same name.
struct BoxField {
  double KisozaiSetData::*member;
  double DesignData::*field;
};
#define TOVAKIN_BOX_FIELD(name) BoxField{&KisozaiSetData::name, &DesignData::name}
constexpr std::array<BoxField, kKisozaiBoxes> kBoxFields = {
    TOVAKIN_BOX_FIELD(hanryokuKeisuNyuryoku),        // 0
    TOVAKIN_BOX_FIELD(kijunHanryokuKeisu),           // 1
    TOVAKIN_BOX_FIELD(alphaA),                       // 2
    TOVAKIN_BOX_FIELD(alphaB),                       // 3
    TOVAKIN_BOX_FIELD(alphaW),                       // 4
    TOVAKIN_BOX_FIELD(hanryokuKeisuHyojunshiki),     // 5
    TOVAKIN_BOX_FIELD(hanryokuKeisuSemento),         // 6
    TOVAKIN_BOX_FIELD(hanryokuKeisuShokokei),        // 7
    TOVAKIN_BOX_FIELD(tawamiDeltaX),                 // 8
    TOVAKIN_BOX_FIELD(tawamiF1),                     // 9
    TOVAKIN_BOX_FIELD(tawamiK),                      // 10
    TOVAKIN_BOX_FIELD(tawamiWv),                     // 11
    TOVAKIN_BOX_FIELD(tawamiR),                      // 12
    TOVAKIN_BOX_FIELD(tawamiE),                      // 13
    TOVAKIN_BOX_FIELD(tawamiI),                      // 14
    TOVAKIN_BOX_FIELD(hanryokuKeisuTawamiryoshiki),  // 15
    TOVAKIN_BOX_FIELD(hyojunMizohaba),               // 16
    TOVAKIN_BOX_FIELD(katameDo),                     // 17
};
#undef TOVAKIN_BOX_FIELD

double KisozaiSetData::*memberOf(int box) { return kBoxFields[static_cast<std::size_t>(box)].member; }

}  // namespace

int limitFieldBox(const InputLimit& row, int method) {
  // The adopted e' is no box of its own: each method shows it in its adopted box.
  if (row.field == &DesignData::hanryokuKeisu) return adoptedBox(method);
  for (int box = 0; box < kKisozaiBoxes; ++box)
    if (kBoxFields[static_cast<std::size_t>(box)].field == row.field) return box;
  raiseNotFound(app::designFieldName(row.field));  // a row for a field the dialog does not show
}

namespace {

const char* patternOf(int box) { return boxDesign(box).pattern; }

// The fixed e' of the two fixed methods: what their captions and the report say they adopt.
void fixTheFixedMethods(KisozaiSetData& record) {
  record.hanryokuKeisuSemento = kSoilCementReactionModulus;
  record.hanryokuKeisuShokokei = kSmallBoreReactionModulus;
}

}  // namespace

std::array<std::string, kKisozaiBoxes> kisozaiBoxTexts(const KisozaiSetData& record) {
  KisozaiSetData shown = record;
  fixTheFixedMethods(shown);
  std::array<std::string, kKisozaiBoxes> texts;
  for (int box = 0; box < kKisozaiBoxes; ++box)
    texts[static_cast<std::size_t>(box)] = boxText(shown.*memberOf(box), patternOf(box));
  return texts;
}

// ---- OK and Apply ---------------------------------------------------------------------------

std::string negativeReactionModulusMessage(double value) {
  return "基礎材の反力係数ｅ’が負の値（" + formatPattern(value, "0.00") +
         "）になります。入力値を確認して下さい。";
}

std::string smallBoreRefusalMessage(std::string_view yobikei) {
  return "「" + kisozaiMethodCaption(ReactionModulusMethod::SmallBore) + "」は、呼び径" +
         formatGeneral(kSmallBoreLargestSize) + "mm以下の管にだけ使えます。（現在の呼び径＝" + myTrim(yobikei) + "）";
}

int correctableBox(int method) {
  for (const KisozaiBoxDesign& d : kKisozaiBoxDesigns)
    if (d.panel == method && !d.readOnly) return d.box;
  return adoptedBox(method);
}

std::optional<KisozaiRefusal> unreadableBox(const std::array<std::string, kKisozaiBoxes>& texts) {
  for (const KisozaiBoxDesign& d : kKisozaiBoxDesigns) {
    const std::string& text = texts[static_cast<std::size_t>(d.box)];
    if (unreadableBoxText(text)) return KisozaiRefusal{unreadableNumberMessage(text), d.box};
  }
  return std::nullopt;
}

namespace {

// Whether OK and Apply ask a row of the limits for the chosen method.
bool asks(LimitPlace place, ReactionModulusMethod method) {
  switch (place) {
    case LimitPlace::FormulaMethod: return method == ReactionModulusMethod::Formula;
    case LimitPlace::DeflectionMethod: return method == ReactionModulusMethod::Deflection;
    case LimitPlace::ReactionModulus: return true;
    case LimitPlace::CombinationDialog:
    case LimitPlace::Calculation: return false;
  }
  return false;
}

// The refusals of the adopted e' and of the method, before anything is asked.
std::optional<KisozaiRefusal> methodRefusal(const KisozaiSetData& r, ReactionModulusMethod method,
                                            std::string_view yobikei) {
  const int box = adoptedBox(codeOf(method));
  // A negative e' makes the deflection check pass with a negative deflection.
  if (r.hanryokuKeisu < 0.0)
    return KisozaiRefusal{negativeReactionModulusMessage(r.hanryokuKeisu), correctableBox(codeOf(method))};
  // 3000 rests on the small horizontal earth pressure of a small bore.
  if (method == ReactionModulusMethod::SmallBore && calc::beyondSmallBore(yobikei))
    return KisozaiRefusal{smallBoreRefusalMessage(yobikei), box};
  // The Pr the αw button refuses is no compaction degree: the report would print it beside αw.
  if (method == ReactionModulusMethod::Formula && r.katameDo < kLowestCompactionDegree)
    return KisozaiRefusal{prLowMessage(), 17};
  if (method == ReactionModulusMethod::Formula && r.katameDo > kHighestCompactionDegree)
    return KisozaiRefusal{prHighMessage(), 17};
  return std::nullopt;
}

}  // namespace

KisozaiStore kisozaiForm2Data(const KisozaiSetData& current, const std::array<std::string, kKisozaiBoxes>& texts,
                              bool rock, std::optional<int> method, std::string_view yobikei) {
  KisozaiStore out;
  KisozaiSetData& r = out.record;
  r = current;
  // Nothing is read from a box whose text is not one number.
  out.refusal = unreadableBox(texts);
  if (out.refusal) return out;
  auto value = [&](int box) { return boxValue(texts[static_cast<std::size_t>(box)], patternOf(box)); };
  for (int box = 0; box < kKisozaiBoxes; ++box) r.*memberOf(box) = value(box);

  // On rock ground the trench width corrects nothing: αa is 1.
  out.alphaAText = texts[2];
  if (rock) {
    r.alphaA = 1.0;
    out.alphaAText = boxText(1.0, patternOf(2));
  }

  const double standard = calc::standardReactionModulus(r.kijunHanryokuKeisu, r.alphaA, r.alphaB, r.alphaW, rock);
  out.standardText = boxText(standard, patternOf(5));
  r.hanryokuKeisuHyojunshiki = boxValue(out.standardText, patternOf(5));

  fixTheFixedMethods(r);

  calc::MeasuredDeflection m;
  m.deltaX = r.tawamiDeltaX;
  m.f1 = r.tawamiF1;
  m.k = r.tawamiK;
  m.wv = r.tawamiWv;
  m.r = r.tawamiR;
  m.e = r.tawamiE;
  m.i = r.tawamiI;
  out.deflectionText = boxText(calc::deflectionReactionModulus(m), patternOf(15));
  r.hanryokuKeisuTawamiryoshiki = boxValue(out.deflectionText, patternOf(15));

  r.ganbanFlg = rock ? -1 : 0;

  const std::optional<ReactionModulusMethod> chosen = method ? reactionModulusMethodOf(*method) : std::nullopt;
  if (chosen) {
    r.hanryokuKeisuHoho = codeOf(*chosen);
    r.hanryokuKeisu = r.*memberOf(adoptedBox(*method));
    out.refusal = methodRefusal(r, *chosen, yobikei);
    if (out.refusal) return out;
    // A missed decimal point or a digit too many (αw 9.0 for 0.90, Pr 9540 for 95, F1 10 for 1.0)
    // multiplies e' and may stay below the largest named value: each such value is asked about.
    DesignData shown;
    kisozaiToDesign(r, shown);
    for (const InputLimit& row : inputLimits()) {
      if (!asks(row.place, *chosen) || !beyondLimit(row, shown)) continue;
      // No to the adopted e' goes back to where the method's e' is corrected (the formulas'
      // e' is computed); No to any other value to its own box.
      const int box = row.place == LimitPlace::ReactionModulus ? correctableBox(*method) : limitFieldBox(row, *method);
      out.questions.push_back({limitQuestion(row, shown), box});
    }
  }
  return out;
}

// ---- the value buttons ----------------------------------------------------------------------

const std::string& prLowMessage() {
  static const std::string text = "Prが" + formatGeneral(kLowestCompactionDegree) + "未満ではαwが負になります。Prを" +
                                  formatGeneral(kLowestCompactionDegree) + "以上に設定して下さい。";
  return text;
}

const std::string& prHighMessage() {
  static const std::string text = "Prは締固め度(％)のため" + formatGeneral(kHighestCompactionDegree) +
                                  "を超えることはありません。Prを" + formatGeneral(kHighestCompactionDegree) +
                                  "以下に設定して下さい。";
  return text;
}

namespace {

// Puts up a notice, focuses the box when one is named.
void notice(const std::string& text, KisozaiBoxes& boxes, int focus = -1) {
  msgBox(text, MsgButtons::OK, MsgIcon::None, "");
  if (focus >= 0) boxes.focusBox(focus);
}

bool ask(const std::string& text) { return msgBox(text, MsgButtons::YesNo, MsgIcon::None, "") == MsgAnswer::Yes; }

double boxNumber(const KisozaiBoxes& boxes, int box) { return boxValue(boxes.text(box), patternOf(box)); }

void setNumber(KisozaiBoxes& boxes, int box, double value) { boxes.setText(box, boxText(value, patternOf(box))); }

// Index 1: the standard trench width of the nominal size, after a question.
void standardWidthButton(KisozaiBoxes& boxes, const DesignData& work) {
  const calc::PipeDataAction action;  // both lookups of the button: one box at most
  std::string size = myTrim(work.yobikei);
  const double bs = calc::func標準溝幅(size);
  if (bs == 0.0) {
    notice(kNoStandardWidth, boxes);
    return;
  }
  if (!ask("現在の管条件の呼び径＝" + size + "の標準BS値は、" + formatGeneral(bs) + "です。\r\nこの値を入力しますか"))
    return;
  std::string again = myTrim(work.yobikei);
  setNumber(boxes, 16, calc::func標準溝幅(again));
}

// Index 5: αw from the compaction degree.
void groundwaterButton(KisozaiBoxes& boxes) {
  if (boxes.text(17).empty()) {
    notice("Prを設定して下さい。", boxes, 17);
    return;
  }
  const double pr = boxNumber(boxes, 17);
  if (pr < kLowestCompactionDegree) {
    notice(prLowMessage(), boxes, 17);
    return;
  }
  if (pr > kHighestCompactionDegree) {
    notice(prHighMessage(), boxes, 17);
    return;
  }
  setNumber(boxes, 4, calc::groundwaterFactor(pr));
}

// Index 6: e' by the standard formula, once its four factors are there.
void standardFormulaButton(KisozaiBoxes& boxes) {
  static constexpr std::array<std::pair<int, const char*>, 4> kNeeded = {
      {{1, "e'0を設定して下さい。"}, {2, "αaを設定して下さい。"}, {3, "αbを設定して下さい。"}, {4, "αwを設定して下さい。"}}};
  for (const auto& [box, message] : kNeeded) {
    if (boxes.text(box).empty()) {
      notice(message, boxes, box);
      return;
    }
  }
  const bool rock = boxes.rockChecked();
  setNumber(boxes, 5,
            calc::standardReactionModulus(boxNumber(boxes, 1), boxNumber(boxes, 2), boxNumber(boxes, 3),
                                          boxNumber(boxes, 4), rock));
}

// Index 7: αa from the document's trench width B and the standard width BS.
void trenchWidthButton(KisozaiBoxes& boxes, const DesignData& work) {
  if (boxes.rockChecked()) {
    boxes.setText(2, "1.00");
    return;
  }
  // A projecting burial, or a case without a trench width, has no αa to derive (one from B 0
  // would come out below 1 for no reason and lower e'): αa is entered directly, in its box.
  if (calc::withoutTrench(work.maisetuKeishiki, work.kisozaiMizohaba)) {
    notice(work.maisetuKeishiki == calc::kProjectingBurial ? kProjectingAlphaA : kNoTrenchWidth, boxes, 2);
    return;
  }
  const double bs = boxNumber(boxes, 16);
  if (!(bs > 0.0)) {
    notice(kNoBsMessage, boxes, 16);
    return;
  }
  setNumber(boxes, 2, calc::trenchWidthFactor(work.kisozaiMizohaba, bs));
}

// Index 10: the support-angle coefficient K, after a question.
void supportCoefficientButton(KisozaiBoxes& boxes, const DesignData& work) {
  const double k = calc::func設計支持角係数(work.shijikaku, 0);
  if (k == 0.0) {
    notice(kNoSupportCoefficient, boxes);
    return;
  }
  if (!ask("現在の設計条件の設計支持角＝" + formatGeneral(work.shijikaku) + "に対するＫ値は、" + formatGeneral(k) +
           "です。\r\nこの値を入力しますか"))
    return;
  setNumber(boxes, 10, calc::func設計支持角係数(work.shijikaku, 0));
}

// Index 11: e' by the back-calculation, once ΔX and R are there.
void deflectionButton(KisozaiBoxes& boxes) {
  if (boxes.text(8).empty()) {
    notice("ΔXを設定して下さい。", boxes, 8);
    return;
  }
  if (boxes.text(12).empty()) {
    notice("Rを設定して下さい。", boxes, 12);
    return;
  }
  calc::MeasuredDeflection m;
  m.deltaX = boxNumber(boxes, 8);
  m.f1 = boxNumber(boxes, 9);
  m.k = boxNumber(boxes, 10);
  m.wv = boxNumber(boxes, 11);
  m.r = boxNumber(boxes, 12);
  m.e = boxNumber(boxes, 13);
  m.i = boxNumber(boxes, 14);
  setNumber(boxes, 15, calc::deflectionReactionModulus(m));
}

}  // namespace

void cmdCommandSub_Click(int index, KisozaiBoxes& boxes, const DesignData& work) {
  guardStep("cmdCommandSub_Click", [&] {
    // A button reads boxes: none of them may hold a text that is not one number.
    std::array<std::string, kKisozaiBoxes> texts;
    for (int box = 0; box < kKisozaiBoxes; ++box) texts[static_cast<std::size_t>(box)] = boxes.text(box);
    if (const std::optional<KisozaiRefusal> unreadable = unreadableBox(texts)) {
      notice(unreadable->message, boxes, unreadable->box);
      return;
    }
    switch (index) {
      case 1: standardWidthButton(boxes, work); break;
      case 5: groundwaterButton(boxes); break;
      case 6: standardFormulaButton(boxes); break;
      case 7: trenchWidthButton(boxes, work); break;
      case 9: boxes.setText(9, "1.0"); break;
      case 10: supportCoefficientButton(boxes, work); break;
      case 11: deflectionButton(boxes); break;
      default: break;
    }
  });
}

// ---- explanations ---------------------------------------------------------------------------

const std::array<const char*, 5> kKisozaiPictures = {"H9-4-11.BMP", "S9-4-14.BMP", "H9-4-13.BMP", "S9-4-15.BMP",
                                                     "S9-4-17.BMP"};

namespace {
constexpr const char* kEnteredText = "【解説】　直接入力値で計算します。";
constexpr const char* kFormulaText = "【解説】基礎材の基準反力係数から以下の式で算出します。|式：e'＝e'0・αa・αb・αw||「パイプライン」P.293";
// The fixed methods' explanations name the values they adopt.
const char* soilCementText() {
  static const std::string text = "【解説】　ソイルセメント基礎材料に使用の場合、|'" +
                                  formatGeneral(kSoilCementReactionModulus) + "'を用いてもよい。||「パイプライン」P.295";
  return text.c_str();
}
const char* smallBoreText() {
  static const std::string text = "【解説】　口径" + formatGeneral(kSmallBoreLargestSize) +
                                  "mm以下の場合、水平土圧が小さいため|'" + formatGeneral(kSmallBoreReactionModulus) +
                                  "'を用いてもよい。||「パイプライン」P.296";
  return text.c_str();
}

KisozaiExplanation picture(const char* name) { return {KisozaiExplanation::Picture, name}; }
KisozaiExplanation text(const char* content) { return {KisozaiExplanation::Text, content}; }
}  // namespace

KisozaiExplanation boxExplanation(int box) {
  switch (box) {
    case 0: return text(kEnteredText);
    case 1: return picture("H9-4-11.BMP");
    case 2:
    case 16: return picture("S9-4-14.BMP");
    case 3: return picture("H9-4-13.BMP");
    case 4:
    case 17: return picture("S9-4-15.BMP");
    case 5: return text(kFormulaText);
    case 6: return text(soilCementText());
    case 7: return text(smallBoreText());
    default:
      if (box >= 8 && box <= 15) return picture("S9-4-17.BMP");
      return {KisozaiExplanation::Clear, nullptr};
  }
}

KisozaiExplanation optionExplanation(int option) {
  const std::optional<ReactionModulusMethod> method = reactionModulusMethodOf(option);
  if (!method) return {};
  switch (*method) {
    case ReactionModulusMethod::Entered: return text(kEnteredText);
    case ReactionModulusMethod::Formula: return text(kFormulaText);
    case ReactionModulusMethod::SoilCement: return text(soilCementText());
    case ReactionModulusMethod::SmallBore: return text(smallBoreText());
    case ReactionModulusMethod::Deflection: return picture("S9-4-17.BMP");
  }
  return {};
}

std::vector<std::string> explanationLines(std::string_view text) {
  std::vector<std::string> lines{" "};
  for (char c : text) {
    if (c == '|') {
      lines.emplace_back(" ");
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

// ---- layout ---------------------------------------------------------------------------------

namespace {
// Designed sizes (twips).
constexpr int kMainFrameWidth = 3735, kMainFrameHeight = 1575;  // fraMain
constexpr int kImageWidth = 5775, kImageHeight = 3015;          // picImage
constexpr std::array<std::pair<int, int>, kKisozaiMethods> kFrameSizes = {
    {{5640, 1005}, {7080, 2745}, {5640, 975}, {5640, 1005}, {6960, 3285}}};
constexpr int kBarWidth = 3735, kBarHeight = 555;  // picCommand
}  // namespace

KisozaiLayout kisozaiLayout(int captionHeight) {
  KisozaiLayout l{};
  l.topWidth = kImageWidth + kMainFrameWidth + 100;
  l.topHeight = std::max(kMainFrameHeight, kImageHeight) + captionHeight;
  for (const auto& [w, h] : kFrameSizes) {
    l.frameWidth = std::max(l.frameWidth, w);
    l.frameHeight = std::max(l.frameHeight, h);
  }
  l.formWidth = std::max(l.topWidth, l.frameWidth) + 600;
  l.formHeight = l.frameHeight + l.topHeight + 1000;
  l.barLeft = l.formWidth - kBarWidth;
  l.barTop = l.formHeight - kBarHeight;
  l.allFramesWidth = std::max(l.topWidth, l.frameWidth);
  l.panelTop = l.topHeight;
  l.panelWidth = l.formWidth - 120;
  l.panelHeight = l.formHeight - 120;
  l.dialogWidth = l.formWidth;
  l.dialogHeight = l.formHeight + captionHeight;
  return l;
}

}  // namespace tovakin::gui
