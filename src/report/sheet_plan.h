#pragma once
// Which template sheets one report uses: the sheet-name table of the template, the sections in
// report order with their numbers and target sheets, and the delete-and-rename sequence that
// turns the filled template into the finished report. The plan is computed once per report;
// the section writers take their sheet from it and the delete phase runs its operations, so the
// two can never disagree about which sheet was filled.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "report/layer.h"

namespace tovakin::app {
struct DesignData;
}  // namespace tovakin::app
namespace tovakin::calc {
struct CalcResult;
}  // namespace tovakin::calc

namespace tovakin::report {

inline constexpr int kTemplateSheetCount = 30;

// Entries of the sheet-name table, in template order.
namespace entry {
inline constexpr int k表紙 = 0;
inline constexpr int k設計条件 = 1;
inline constexpr int k浮上 = 2;
inline constexpr int kHe剛 = 3;          // Heの計算: rigid, cover not above He
inline constexpr int kHe剛上 = 4;        // Heの計算2: rigid, cover above He
inline constexpr int kHe撓 = 5;          // Heの計算3: flexible, cover not above He
inline constexpr int kHe撓上 = 6;        // Heの計算4: flexible, cover above He
inline constexpr int k鉛直土圧 = 7;
inline constexpr int k鉛直土圧2 = 8;
inline constexpr int k鉛直土圧矢板 = 9;
inline constexpr int k鉛直土圧矢板2 = 10;
inline constexpr int k反力係数 = 11;      // e' methods 0, 2, 3
inline constexpr int k反力係数2 = 12;     // e' method 1
inline constexpr int k反力係数3 = 13;     // e' method 4
inline constexpr int k水平土圧 = 14;
inline constexpr int k水平土圧2 = 15;
inline constexpr int k活荷重 = 16;
inline constexpr int k施工時荷重 = 17;
inline constexpr int k活荷重水平荷重 = 18;
inline constexpr int k自重水重 = 19;
inline constexpr int k自重水重2 = 20;
inline constexpr int k設計荷重 = 21;
inline constexpr int k設計荷重2 = 22;
inline constexpr int k内水圧 = 23;
inline constexpr int k横断方向設計 = 24;
inline constexpr int k横断方向設計2 = 25;
inline constexpr int k許容内圧 = 26;
inline constexpr int k許容内圧2 = 27;
inline constexpr int kたわみ率 = 28;
inline constexpr int kEI値 = 29;
}  // namespace entry

// The sheet-name table: the template holds one sheet of each name, in this order.
const std::array<std::string_view, kTemplateSheetCount>& sheetNameTable();
// The name of one entry; raises RuntimeError (err::kOutOfRange) outside 0 to 29.
std::string sheetName(int entry);

// The sections of a report, in report order. The cover has no number.
enum class Section {
  Cover,
  DesignConditions,         // 設計条件
  Flotation,                // 浮上に対する検討
  He,                       // burial 0 or 1
  VerticalEarth,            // burial 0 or 1
  VerticalEarthSheetPile,   // sheet-pile burial
  ReactionModulus,          // 基礎材の反力係数, free flexible
  HorizontalEarth,          // 水平土圧
  LiveLoad,                 // 活荷重 and its second page 施工時荷重
  LiveLoadHorizontal,       // 活荷重水平荷重, free flexible
  WeightWaterHorizontal,    // 自重水重水平荷重, free flexible
  DesignLoad,               // 設計荷重
  InternalPressure,         // 内水圧
  TransverseDesign,         // 横断方向設計
  AllowablePressure,        // 許容内圧
  DeflectionOrEi,           // たわみ率計算 or EI値検討, free flexible
};
inline constexpr int kSectionKinds = 16;
std::string_view sectionLabel(Section s);  // a short Japanese label for messages and tests

// What the plan reads of the two records, in one place.
struct PlanFacts {
  double designClass = 0;   // DesignData.kanzaiKubun
  double support = 0;       // DesignData.kisoKeishiki
  double burial = 0;        // DesignData.maisetuKeishiki
  double cover = 0;         // DesignData.dokaburi
  std::int32_t eMethod = 0; // DesignData.hanryokuKeisuHoho, a ReactionModulusMethod code or an unknown one
  std::int32_t resultClass = 0;  // CalcResult.kanzaiKubun
  double he = 0;            // CalcResult.he

  static PlanFacts of(const DesignData& d, const CalcResult& r);

  bool rigid() const { return resultClass == 0; }
  bool freeFlexible() const { return designClass != 0 && support == 0; }
  // Trench or projecting burial; any other code is treated as sheet-pile burial.
  bool trenchOrProjection() const { return burial == 0 || burial == 1; }
  // Strictly above; equal (and unordered) counts as not above.
  bool aboveHe() const { return cover > he; }
};

struct PlannedSection {
  Section section;
  int number = 0;            // 0 for the cover, else 1 to 14 without gaps
  std::vector<int> entries;  // the sheets it writes, first the one carrying the title
};

struct SheetOp {
  enum class Kind { Delete, Rename };
  Kind kind;
  int entry;        // the sheet operated on (it still bears its template name)
  int asEntry = -1; // Rename: the entry whose name it takes
  std::string from() const { return sheetName(entry); }
  std::string to() const { return sheetName(asEntry); }
  bool operator==(const SheetOp&) const = default;
};

struct KeptSheet {
  int entry;
  std::string name;  // its name in the finished report
};

struct SheetPlan {
  PlanFacts facts;
  std::vector<PlannedSection> sections;  // written, in report order, the cover first
  std::vector<SheetOp> deletePhase;      // in the order they run
  std::vector<KeptSheet> result;         // the finished report's sheets, template order

  // The planned section, or nullptr when the case has none of that kind.
  const PlannedSection* find(Section s) const;
  // Every entry some section writes.
  std::vector<int> writtenEntries() const;
  std::vector<std::string> resultNames() const;
};

SheetPlan computeSheetPlan(const PlanFacts& facts);
inline SheetPlan computeSheetPlan(const DesignData& d, const CalcResult& r) { return computeSheetPlan(PlanFacts::of(d, r)); }

}  // namespace tovakin::report
