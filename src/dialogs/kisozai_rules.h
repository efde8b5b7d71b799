#pragma once
// The rules behind the reaction-modulus dialog frmKisozaiSet, without a widget: its record, the
// boxes it shows them in, what OK and Apply store (and when they refuse), what each value button
// does, which explanation goes with which box or option, the unit captions and the layout.
//
// e' decides the deflection of every flexible pipe, so the dialog never adopts a value that
// would pass an unsafe pipe silently: a negative e' is refused, an e' above the largest any
// method names is adopted only once confirmed, the fixed methods adopt their fixed values, the
// small-bore value is refused for a larger bore, and the measured values (ΔX, R) and the moment
// of inertia keep all their digits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/design_data.h"
#include "app/input_limits.h"
#include "app/reaction_modulus_constants.h"
#include "ui/layer.h"

namespace tovakin::gui {

// The dialog's own copy of the fields it edits, in the order it moves them, each named as its
// DesignData field.
#define TOVAKIN_KISOZAI_FIELDS(X)          \
  X(double, hanryokuKeisu)                 \
  X(std::int32_t, hanryokuKeisuHoho)       \
  X(double, hanryokuKeisuNyuryoku)         \
  X(double, kijunHanryokuKeisu)            \
  X(double, kisozaiMizohaba)               \
  X(double, hyojunMizohaba)                \
  X(double, alphaA)                        \
  X(double, alphaB)                        \
  X(double, katameDo)                      \
  X(double, alphaW)                        \
  X(double, hanryokuKeisuHyojunshiki)      \
  X(double, hanryokuKeisuSemento)          \
  X(double, hanryokuKeisuShokokei)         \
  X(double, tawamiDeltaX)                  \
  X(double, tawamiF1)                      \
  X(double, tawamiK)                       \
  X(double, tawamiWv)                      \
  X(double, tawamiR)                       \
  X(double, tawamiE)                       \
  X(double, tawamiI)                       \
  X(double, hanryokuKeisuTawamiryoshiki)   \
  X(std::int16_t, ganbanFlg)

struct KisozaiSetData {
#define TOVAKIN_KISOZAI_MEMBER(type, name) type name{};
  TOVAKIN_KISOZAI_FIELDS(TOVAKIN_KISOZAI_MEMBER)
#undef TOVAKIN_KISOZAI_MEMBER
  bool operator==(const KisozaiSetData&) const = default;
};

// The fields from the exchange copy, and back; nothing else of the record is touched.
KisozaiSetData kisozaiFromDesign(const DesignData& work);
void kisozaiToDesign(const KisozaiSetData& record, DesignData& work);

// ---- the methods and the boxes ------------------------------------------------------------

// optKisozaiSet 0 to 4, one option (and one panel) a method, its index the method's code.
inline constexpr int kKisozaiMethods = static_cast<int>(kReactionModulusMethods.size());
inline constexpr int kKisozaiBoxes = 18;  // txtTextBox 0 to 17

// The option caption of a method (also the caption of its panel's frame); the fixed methods'
// captions name the values they adopt.
std::string kisozaiMethodCaption(ReactionModulusMethod method);
// The box holding the e' each method adopts: 0, 5, 6, 7, 15; a code no method has raises (9).
int adoptedBox(int method);

// The box that shows the field of a row of the input limits (app/input_limits.h) with a method
// chosen: the field's own box, and for the adopted e' the method's adopted box. A field the
// dialog does not show raises subscript out of range (9).
int limitFieldBox(const InputLimit& row, int method);

// Where Enter moves the focus from a box.
struct EnterTarget {
  enum Kind { Box, Ok, Sub } kind;
  int index;  // the box or the cmdCommandSub index
};

// One row of a method's panel: a caption, its box, a unit and a 計算 button where it has them.
struct KisozaiBoxDesign {
  int box;              // txtTextBox index
  int panel;            // the method whose panel holds it
  const char* pattern;  // display pattern
  bool readOnly;        // a value the dialog computes or fixes
  int top;              // twips inside the panel's frame
  const char* label;    // objectName of the caption label
  const char* caption;
  int tanni;            // picTanni index, -1 for none
  int sub;              // cmdCommandSub index beside it, -1 for none
  int boxTab;           // tab index of the box
  int subTab;           // tab index of the button
  EnterTarget enter;
};
// The 18 rows in screen order, panel by panel.
extern const std::array<KisozaiBoxDesign, kKisozaiBoxes> kKisozaiBoxDesigns;
const KisozaiBoxDesign& boxDesign(int box);

// Unit captions by picTanni index (0 to 11); "^" raises the next character.
extern const std::array<const char*, 12> kKisozaiUnits;

// The texts the boxes show for a record (myFormTenki), by box index. The two fixed methods show
// their fixed e' whatever the record holds.
std::array<std::string, kKisozaiBoxes> kisozaiBoxTexts(const KisozaiSetData& record);

// ---- OK and Apply ---------------------------------------------------------------------------

// Why OK or Apply store nothing: the message and the box to put the focus into.
struct KisozaiRefusal {
  std::string message;
  int box;
};

// What OK or Apply must ask before they store: a Yes/No question, and the box to put the focus
// into when the answer is No (nothing is stored then).
struct KisozaiQuestion {
  std::string message;
  int box;
};

struct KisozaiStore {
  KisozaiSetData record;       // what OK or Apply store
  std::string alphaAText;      // box 2 after storing ("1.00" on rock ground)
  std::string standardText;    // box 5: e' by the standard formula
  std::string deflectionText;  // box 15: e' by the back-calculation
  std::optional<KisozaiRefusal> refusal;
  // Only when nothing is refused: the rows of the input limits (app/input_limits.h) the chosen
  // method goes beyond, in the table's order, each asked with いいえ the default.
  std::vector<KisozaiQuestion> questions;
};

// myForm2Data: the box texts (as shown, by box index), the rock box and the selected method
// (nullopt when none is) into the record. Both formulas are recomputed whatever the method; the
// adopted e' and the method follow the selected option, and with none selected they keep their
// values. Refused: a box whose text is not one number (nothing else is read then), a negative
// adopted e', the small-bore method for a nominal size (`yobikei`, the exchange copy's) above
// 300 mm, and with the standard formula a Pr the αw button refuses. Asked: the input limits of
// the chosen method. Raises the formulas' errors (overflow).
KisozaiStore kisozaiForm2Data(const KisozaiSetData& current, const std::array<std::string, kKisozaiBoxes>& texts,
                              bool rock, std::optional<int> method, std::string_view yobikei);

// The first box, in screen order, whose text is not one number, with the box's notice.
std::optional<KisozaiRefusal> unreadableBox(const std::array<std::string, kKisozaiBoxes>& texts);
// The first box of a method's panel the user can type into, where a refused or questioned e' is
// corrected (the adopted e' of the formulas is computed); the adopted box for a fixed method.
int correctableBox(int method);
// The message of a negative adopted e'.
std::string negativeReactionModulusMessage(double value);
// The message of the small-bore method on a larger bore, naming the nominal size.
std::string smallBoreRefusalMessage(std::string_view yobikei);

// ---- the value buttons ----------------------------------------------------------------------

// What a value button reads and changes of the dialog.
class KisozaiBoxes {
 public:
  virtual ~KisozaiBoxes() = default;
  virtual std::string text(int box) const = 0;
  virtual void setText(int box, const std::string& text) = 0;
  virtual void focusBox(int box) = 0;
  virtual bool rockChecked() const = 0;
};

// cmdCommandSub_Click: the 計算 buttons 1 (BS), 5 (αw), 6 (e' by the formula), 7 (αa), 9 (F1),
// 10 (K) and 11 (e' by the back-calculation); any other index does nothing. `work` is the
// exchange copy (nominal size, support angle, trench width). Notices and questions go through
// the installed message box; errors to the error box labelled "cmdCommandSub_Click".
void cmdCommandSub_Click(int index, KisozaiBoxes& boxes, const DesignData& work);

// The notices of the value buttons.
inline constexpr const char* kNoStandardWidth = "現在の管条件に対応するBS標準値はありません。";
inline constexpr const char* kNoSupportCoefficient = "現在の条件に対応するK値はありません。";
// A Pr outside the compaction degrees αw has: refused by the αw button, and by OK and Apply.
const std::string& prLowMessage();
const std::string& prHighMessage();
// A case without a trench has no αa to compute: the user enters αa directly.
inline constexpr const char* kNoTrenchWidth =
    "溝幅Bが0のため、αaは溝幅から計算しません。αaを直接入力するか、設計条件の溝幅を入力してから計算して下さい。";
inline constexpr const char* kProjectingAlphaA =
    "突出型の設計条件には溝幅がないため、αaは溝幅から計算しません。αaを直接入力して下さい。";
inline constexpr const char* kNoBsMessage = "BSを設定して下さい。";

// ---- explanations ---------------------------------------------------------------------------

struct KisozaiExplanation {
  enum Kind { Keep, Clear, Picture, Text } kind = Keep;
  const char* content = nullptr;  // the picture's file name under IMAGE/, or the text
};
// For a box that got the focus (an unknown box clears the area).
KisozaiExplanation boxExplanation(int box);
// For a method option that got the focus (an unknown option changes nothing).
KisozaiExplanation optionExplanation(int option);
// The lines an explanation text is printed in: "|" breaks a line, every line starts with one
// blank.
std::vector<std::string> explanationLines(std::string_view text);

// The explanation pictures, in the order the boxes use them.
extern const std::array<const char*, 5> kKisozaiPictures;

// ---- layout ---------------------------------------------------------------------------------

// The dialog's layout in twips for a caption height C (SystemInformationCaptionHeight): the
// form container picMyForm, the button bar at its bottom-right corner, every panel below the
// band of the method frame and the explanation area, every frame the same size.
struct KisozaiLayout {
  int topWidth;      // W0
  int topHeight;     // H0
  int frameWidth;    // Wf, the widest frame
  int frameHeight;   // Hf, the highest frame
  int formWidth;     // picMyForm
  int formHeight;
  int barLeft;       // picCommand
  int barTop;
  int panelTop;      // picOptions(i)
  int panelWidth;
  int panelHeight;
  int allFramesWidth;  // every fraFrame(i) at 120, 120
  int dialogWidth;     // the window with its caption
  int dialogHeight;
};
KisozaiLayout kisozaiLayout(int captionHeight);

}  // namespace tovakin::gui
