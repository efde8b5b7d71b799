#pragma once
// One design case. On disk it is the whole .PIPEDATA file: 2800 bytes, little-endian,
// fields packed at the offsets of TOVAKIN_DESIGN_FIELDS (see document_file.h for the codec).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "app/fixed_text.h"
#include "app/layer.h"

namespace tovakin::app {

inline constexpr std::size_t kDesignRecordSize = 2800;
inline constexpr const char* kDataTag = "Tovakin_A_1_00_00";

// X(kind, member, offset, width) for every field in file order.
// kind: Text (code page 932, blank padded), Date (OLE date), Double, Long (int32),
// Integer (int16), Bytes (carried through untouched).
#define TOVAKIN_DESIGN_FIELDS(X) \
  X(Text, dataTag, 0, 32) \
  X(Text, keisanshoTitle, 32, 128) \
  X(Date, createDate, 160, 8) \
  X(Date, updateDate, 168, 8) \
  X(Long, spare1, 176, 4) \
  X(Text, kanshu, 180, 128) \
  X(Text, kikaku, 308, 32) \
  X(Text, yobikei, 340, 32) \
  X(Double, gaikei, 372, 8) \
  X(Double, kanatu, 380, 8) \
  X(Double, naikei, 388, 8) \
  X(Double, chushinHankei, 396, 8) \
  X(Double, spare2, 404, 8) \
  X(Double, spare3, 412, 8) \
  X(Double, kisoKeishiki, 420, 8) \
  X(Double, shijikaku, 428, 8) \
  X(Double, dokaburi, 436, 8) \
  X(Double, mizohaba, 444, 8) \
  X(Double, hyojunMizohaba, 452, 8) \
  X(Double, maisetuKeishiki, 460, 8) \
  X(Double, spare4, 468, 8) \
  X(Double, spare5, 476, 8) \
  X(Double, spare6, 484, 8) \
  X(Double, tuchiTanniJuryo, 492, 8) \
  X(Double, naibuMasatukaku, 500, 8) \
  X(Double, kajuJoken, 508, 8) \
  X(Double, howadoTanniJuryo, 516, 8) \
  X(Double, spare7, 524, 8) \
  X(Double, chinkahi, 532, 8) \
  X(Double, doroJoken, 540, 8) \
  X(Text, josaiKajuMeisho, 548, 32) \
  X(Text, josaiKaju, 580, 32) \
  X(Double, buruJoken, 612, 8) \
  X(Long, kyatapiraSu, 620, 4) \
  X(Double, sekojiShogekiKeisu, 624, 8) \
  X(Double, seisuiatu, 632, 8) \
  X(Double, suigekiatu, 640, 8) \
  X(Double, kisozaiMizohaba, 648, 8) \
  X(Double, spare8, 656, 8) \
  X(Double, spare9, 664, 8) \
  X(Double, spare10, 672, 8) \
  X(Double, spare11, 680, 8) \
  X(Double, spare12, 688, 8) \
  X(Double, spare13, 696, 8) \
  X(Double, spare14, 704, 8) \
  X(Double, spare15, 712, 8) \
  X(Double, spare16, 720, 8) \
  X(Double, spare17, 728, 8) \
  X(Double, kanzaiKubun, 736, 8) \
  X(Double, mizuTanniJuryo, 744, 8) \
  X(Double, hanryokuKeisu, 752, 8) \
  X(Long, hanryokuKeisuHoho, 760, 4) \
  X(Double, hanryokuKeisuNyuryoku, 764, 8) \
  X(Double, kijunHanryokuKeisu, 772, 8) \
  X(Double, alphaA, 780, 8) \
  X(Double, alphaB, 788, 8) \
  X(Double, katameDo, 796, 8) \
  X(Double, alphaW, 804, 8) \
  X(Double, hanryokuKeisuHyojunshiki, 812, 8) \
  X(Double, hanryokuKeisuSemento, 820, 8) \
  X(Double, hanryokuKeisuShokokei, 828, 8) \
  X(Double, tawamiDeltaX, 836, 8) \
  X(Double, tawamiF1, 844, 8) \
  X(Double, tawamiK, 852, 8) \
  X(Double, tawamiWv, 860, 8) \
  X(Double, tawamiR, 868, 8) \
  X(Double, tawamiE, 876, 8) \
  X(Double, tawamiI, 884, 8) \
  X(Double, hanryokuKeisuTawamiryoshiki, 892, 8) \
  X(Double, henkeiOkureF1, 900, 8) \
  X(Double, henkeiOkureF2, 908, 8) \
  X(Double, spare18, 916, 8) \
  X(Double, kanatuKeisan, 924, 8) \
  X(Double, naikeiKeisan, 932, 8) \
  X(Double, spare19, 940, 8) \
  X(Integer, ganbanFlg, 948, 2) \
  X(Double, sekkeiTawamiritu, 950, 8) \
  X(Double, naigaiatuAnzenritu, 958, 8) \
  X(Double, naigaiatuKeisuN, 966, 8) \
  X(Bytes, spare20, 974, 1826)

// One line a member: the term, the unit the record keeps, and where the user sees it. "box n" is
// the document window's txtTextBox_n (the box table, documentBoxes() in document_rules.h), a
// list its combo box; the e' fields are edited in the reaction-modulus dialog frmKisozaiSet
// ("e' box n" its txtTextBox_n), S and n in the combination-formula dialog frmNaigaiatuSet.
// The pipe's dimensions are shown in mm and kept in metres; the list codes are doubles.
//
// Mind the wall thicknesses: `kanatu` is the design thickness (管厚計算値, box 2) and
// `kanatuKeisan` the catalogue one (管厚, box 21). The names are the file's and stay; every
// other thickness pair in the program is named in this sense.
struct DesignData {
  FixedText<32> dataTag;          // format tag kDataTag; its 9th character is the edition the file-kind test reads
  FixedText<128> keisanshoTitle;  // 計算書タイトル, the report's cover title; box 0
  double createDate = 0.0;        // OLE date the case was created; never shown
  double updateDate = 0.0;        // OLE date of the last window-to-record transfer; the report's cover date
  std::int32_t spare1 = 0;        // reserved
  FixedText<128> kanshu;          // 管種, pipe type, the key of the pipe tables; list cbKanshu
  FixedText<32> kikaku;           // 規格 (管規格), pipe standard; list cbKikaku
  FixedText<32> yobikei;          // 呼び径, nominal size as text; list cbYobina
  double gaikei = 0.0;            // 管外径 D, m; box 1 (mm, from the pipe table)
  double kanatu = 0.0;            // 管厚計算値 t, the design wall thickness, m; box 2 (mm, by the pipe-class rule)
  double naikei = 0.0;            // 管内径 d = gaikei - 2 kanatu, m; no box
  double chushinHankei = 0.0;     // 管厚中心半径 R = (gaikei - kanatu) / 2, m; box 3 (mm)
  double spare2 = 0.0;            // reserved
  double spare3 = 0.0;            // reserved
  double kisoKeishiki = 0.0;      // 基礎形式 code: 0 自由支承, 1 固定支承; list cbKiso
  double shijikaku = 0.0;         // 設計支持角 2θ, degrees (30, 60, 90, 120, 180); box 6
  double dokaburi = 0.0;          // 土かぶり H, cover depth, m; box 7
  double mizohaba = 0.0;          // 溝幅 B (管頂部溝幅, or 矢板中心溝幅 for 矢板施工), m; box 5
  double hyojunMizohaba = 0.0;    // 標準溝幅 BS, mm; e' box 16
  double maisetuKeishiki = 0.0;   // 埋設形式 code: 0 溝型, 1 突出型, 2 矢板施工; list cbMaisetu
  double spare4 = 0.0;            // reserved
  double spare5 = 0.0;            // reserved
  double spare6 = 0.0;            // reserved
  double tuchiTanniJuryo = 0.0;   // 土の単位体積重量 γ, kN/m³; box 10
  double naibuMasatukaku = 0.0;   // 内部摩擦角 φ, degrees; box 12
  double kajuJoken = 0.0;         // 輪荷重規格 code: 25, 20, 14, 10 for T-25 ... T-10, 0 なし; list cbKajuJoken
  double howadoTanniJuryo = 0.0;  // 飽和土単位体積重量 γsat, kN/m³; box 11
  double spare7 = 0.0;            // reserved
  double chinkahi = 0.0;          // 沈下比 of the He equation, a ratio; box 9
  double doroJoken = 0.0;         // 道路の状態 code: 0 未舗装道路, 1 舗装道路; list cbDoroJoken
  FixedText<32> josaiKajuMeisho;  // 上載荷重名称, the surcharge's name; box 13
  FixedText<32> josaiKaju;        // 上載荷重 as a number text ("0" when empty), kN/m²; box 14
  double buruJoken = 0.0;         // ブルドーザー規格, ton class 3, 6, 8, 11, 15, 0 なし; list cbBuruJoken
  std::int32_t kyatapiraSu = 0;   // キャタピラ数, crawler tracks; box 15
  double sekojiShogekiKeisu = 0.0;  // 施工時衝撃係数, impact factor of the construction load; box 16
  double seisuiatu = 0.0;           // 静水圧, hydrostatic pressure, MPa; box 17
  double suigekiatu = 0.0;          // 水撃圧, water-hammer pressure, MPa; box 18
  double kisozaiMizohaba = 0.0;     // 溝幅 B of the αa formula, m: mizohaba copied at every transfer; no box
  double spare8 = 0.0;              // reserved
  double spare9 = 0.0;              // reserved
  double spare10 = 0.0;             // reserved
  double spare11 = 0.0;             // reserved
  double spare12 = 0.0;             // reserved
  double spare13 = 0.0;             // reserved
  double spare14 = 0.0;             // reserved
  double spare15 = 0.0;             // reserved
  double spare16 = 0.0;             // reserved
  double spare17 = 0.0;             // reserved
  double kanzaiKubun = 0.0;         // 管材区分 of kanshu: 0 rigid, 5 flexible (EI), other flexible, -1 unknown; lblKanshu
  double mizuTanniJuryo = 0.0;      // 水の単位体積重量 γw, kN/m³; box 8
  double hanryokuKeisu = 0.0;       // 基礎材の反力係数 e', the adopted value, kN/m²; box 19 (read-only)
  // The method of e': 0 entered, 1 standard formula, 2 soil cement, 3 bore ≤ 300 mm, 4 measured deflection
  // (ReactionModulusMethod, reaction_modulus_constants.h, read by reactionModulusMethodOf); option
  // optKisozaiSet_n of frmKisozaiSet.
  std::int32_t hanryokuKeisuHoho = 0;
  double hanryokuKeisuNyuryoku = 0.0;  // e' entered directly (method 0), kN/m²; e' box 0
  double kijunHanryokuKeisu = 0.0;     // 基礎材の基準反力係数 e'0, kN/m²; e' box 1
  double alphaA = 0.0;                 // 溝幅による補正係数 αa; e' box 2
  double alphaB = 0.0;                 // 基礎材の縦固め度による補正係数 αb; e' box 3
  double katameDo = 0.0;               // 基礎材の縦固め度 Pr, %; e' box 17
  double alphaW = 0.0;                 // 地下水位の影響による補正係数 αw; e' box 4
  double hanryokuKeisuHyojunshiki = 0.0;  // e' by the standard formula (method 1), kN/m²; e' box 5
  double hanryokuKeisuSemento = 0.0;      // e' of soil-cement bedding (method 2), kN/m²; e' box 6
  double hanryokuKeisuShokokei = 0.0;     // e' for a bore of 300 mm or less (method 3), kN/m²; e' box 7
  double tawamiDeltaX = 0.0;  // 増加たわみ量 ΔX of the deflection back-calculation, m; e' box 8
  double tawamiF1 = 0.0;      // 変形遅れ係数 F1 of the back-calculation; e' box 9
  double tawamiK = 0.0;       // 基礎の支持角から決まる係数 K of the back-calculation; e' box 10
  double tawamiWv = 0.0;      // 土圧・上載荷重による鉛直荷重 Wv of the back-calculation, kN/m²; e' box 11
  double tawamiR = 0.0;       // 管厚中心半径 R of the back-calculation, m; e' box 12
  double tawamiE = 0.0;       // 管材のヤング係数 E of the back-calculation, kN/m²; e' box 13
  double tawamiI = 0.0;       // 管材断面二次モーメント I of the back-calculation, m⁴/m; e' box 14
  double hanryokuKeisuTawamiryoshiki = 0.0;  // e' from the measured deflection (method 4), kN/m²; e' box 15
  double henkeiOkureF1 = 0.0;  // 変形遅れ係数 F1, for dead loads; box 20
  double henkeiOkureF2 = 0.0;  // 変形遅れ係数 F2, for live loads; box 22
  double spare18 = 0.0;        // reserved; set 0 at every window-to-record transfer
  double kanatuKeisan = 0.0;   // 管厚, the catalogue wall thickness from the pipe table, m; box 21 (mm)
  double naikeiKeisan = 0.0;   // inner diameter gaikei - 2 kanatuKeisan, m; no box
  double spare19 = 0.0;        // reserved; set 0 at every window-to-record transfer
  std::int16_t ganbanFlg = 0;  // Boolean (-1 true, 0 false) 現地盤を岩盤としてαａを補正しない; chkCheck_0 of frmKisozaiSet
  double sekkeiTawamiritu = 0.0;    // 設計たわみ率 δa, %; box 23
  double naigaiatuAnzenritu = 0.0;  // 安全率 S of the 内外圧合成式; frmNaigaiatuSet box 0
  double naigaiatuKeisuN = 0.0;     // 係数 n of the 内外圧合成式, by the pipe's kind; frmNaigaiatuSet box 1
  std::array<std::uint8_t, 1826> spare20{};  // reserved, carried through untouched
};

// The name of a record's field as the layout names it ("dokaburi"), "" for a member of no field:
// a look-up that finds no box for a field names the field in its error.
template <class T>
std::string_view designFieldName(T DesignData::*member) {
#define TOVAKIN_FIELD_NAME(kind, name, offset, width)                           \
  if constexpr (std::is_same_v<T DesignData::*, decltype(&DesignData::name)>) { \
    if (member == &DesignData::name) return #name;                             \
  }
  TOVAKIN_DESIGN_FIELDS(TOVAKIN_FIELD_NAME)
#undef TOVAKIN_FIELD_NAME
  return {};
}

}  // namespace tovakin::app
