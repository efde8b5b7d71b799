#include "app/document_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

#include "app/calc_settings.h"
#include "app/cursor.h"
#include "app/layer.h"
#include "app/reaction_modulus_constants.h"
#include "app/recent_files.h"
#include "platform/cp932.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/ole_date.h"

namespace tovakin::app {

namespace {

// The layout must cover the record without gaps or overlaps.
struct FieldSpan {
  std::size_t offset, width;
};
#define TOVAKIN_SPAN(kind, member, offset, width) FieldSpan{offset, width},
constexpr FieldSpan kLayout[] = {TOVAKIN_DESIGN_FIELDS(TOVAKIN_SPAN)};
#undef TOVAKIN_SPAN
constexpr bool layoutIsContiguous() {
  std::size_t at = 0;
  for (const FieldSpan& f : kLayout) {
    if (f.offset != at) return false;
    at += f.width;
  }
  return at == kDesignRecordSize;
}
static_assert(std::size(kLayout) == 80, "DesignData has 80 fields");
static_assert(layoutIsContiguous(), "DesignData fields must tile the 2800-byte record");

using Bytes = std::array<std::uint8_t, kDesignRecordSize>;

void putUnsigned(Bytes& b, std::size_t off, std::uint64_t v, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint64_t getUnsigned(const Bytes& b, std::size_t off, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= std::uint64_t{b[off + i]} << (8 * i);
  return v;
}

// Writers, one per field kind.
template <std::size_t N>
void putText(Bytes& b, std::size_t off, std::size_t width, const FixedText<N>& t) {
  static_assert(N > 0);
  if (!t.assigned()) {
    std::memset(&b[off], 0, width);
    return;
  }
  const std::string bytes = toCp932Cut(t.str(), width);
  std::memcpy(&b[off], bytes.data(), bytes.size());
  std::memset(&b[off + bytes.size()], ' ', width - bytes.size());
}
void putDouble(Bytes& b, std::size_t off, std::size_t width, double v) {
  putUnsigned(b, off, std::bit_cast<std::uint64_t>(v), width);
}
void putDate(Bytes& b, std::size_t off, std::size_t width, double v) { putDouble(b, off, width, v); }
void putLong(Bytes& b, std::size_t off, std::size_t width, std::int32_t v) {
  putUnsigned(b, off, static_cast<std::uint32_t>(v), width);
}
void putInteger(Bytes& b, std::size_t off, std::size_t width, std::int16_t v) {
  putUnsigned(b, off, static_cast<std::uint16_t>(v), width);
}
template <std::size_t N>
void putBytes(Bytes& b, std::size_t off, std::size_t width, const std::array<std::uint8_t, N>& v) {
  static_assert(N > 0);
  std::memcpy(&b[off], v.data(), width);
}

// Readers, one per field kind.
template <std::size_t N>
void getText(const Bytes& b, std::size_t off, std::size_t width, FixedText<N>& t) {
  t = fromCp932(std::string_view(reinterpret_cast<const char*>(&b[off]), width));
}
void getDouble(const Bytes& b, std::size_t off, std::size_t width, double& v) {
  v = std::bit_cast<double>(getUnsigned(b, off, width));
}
void getDate(const Bytes& b, std::size_t off, std::size_t width, double& v) { getDouble(b, off, width, v); }
void getLong(const Bytes& b, std::size_t off, std::size_t width, std::int32_t& v) {
  v = static_cast<std::int32_t>(static_cast<std::uint32_t>(getUnsigned(b, off, width)));
}
void getInteger(const Bytes& b, std::size_t off, std::size_t width, std::int16_t& v) {
  v = static_cast<std::int16_t>(static_cast<std::uint16_t>(getUnsigned(b, off, width)));
}
template <std::size_t N>
void getBytes(const Bytes& b, std::size_t off, std::size_t width, std::array<std::uint8_t, N>& v) {
  std::memcpy(v.data(), &b[off], width);
}

// Every field's width must match the member it is stored from.
template <class T>
struct MemberWidth {
  static constexpr std::size_t value = sizeof(T);
};
template <std::size_t N>
struct MemberWidth<FixedText<N>> {
  static constexpr std::size_t value = N;
};
#define TOVAKIN_CHECK_WIDTH(kind, member, offset, width) \
  static_assert(MemberWidth<decltype(DesignData::member)>::value == (width), "width of " #member);
TOVAKIN_DESIGN_FIELDS(TOVAKIN_CHECK_WIDTH)
#undef TOVAKIN_CHECK_WIDTH

}  // namespace

std::string encodeDesignData(const DesignData& data) {
  Bytes b{};
#define TOVAKIN_PUT(kind, member, offset, width) put##kind(b, offset, width, data.member);
  TOVAKIN_DESIGN_FIELDS(TOVAKIN_PUT)
#undef TOVAKIN_PUT
  return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

DesignData decodeDesignData(std::string_view bytes) {
  Bytes b{};
  // An empty view may carry no pointer at all, which memcpy must never see.
  if (!bytes.empty()) std::memcpy(b.data(), bytes.data(), std::min(bytes.size(), b.size()));
  DesignData data;
#define TOVAKIN_GET(kind, member, offset, width) get##kind(b, offset, width, data.member);
  TOVAKIN_DESIGN_FIELDS(TOVAKIN_GET)
#undef TOVAKIN_GET
  return data;
}

DesignData newDesignData(const NewCasePipe& pipe) {
  DesignData d;
  d.dataTag = kDataTag;
  d.keisanshoTitle = "";
  d.createDate = oleDateNow();
  d.updateDate = d.createDate;
  d.kanshu = pipe.kanshu;
  d.kikaku = pipe.kikaku;
  d.yobikei = pipe.yobikei;
  d.kisoKeishiki = 0;     // 自由支承
  d.shijikaku = 90;
  d.dokaburi = 0.6;
  d.maisetuKeishiki = 0;  // 溝型
  d.tuchiTanniJuryo = g_calcSettings.tuchiTanniJuryo;
  d.naibuMasatukaku = g_calcSettings.naibuMasatukaku;
  d.kajuJoken = 25;       // T-25
  d.howadoTanniJuryo = g_calcSettings.howadoTanniJuryo;
  d.chinkahi = pipe.kanzaiKubun == 0 ? 0.7 : -0.1;
  d.doroJoken = 0;        // 未舗装道路
  d.josaiKajuMeisho = "";
  d.josaiKaju = "0";
  d.buruJoken = 3;        // 3 t
  d.mizuTanniJuryo = g_calcSettings.mizuTanniJuryo;
  d.hanryokuKeisuSemento = kSoilCementReactionModulus;
  d.hanryokuKeisuShokokei = kSmallBoreReactionModulus;
  d.henkeiOkureF1 = 1.0;
  d.henkeiOkureF2 = 1.0;
  d.ganbanFlg = 0;
  d.sekkeiTawamiritu = 3.0;
  d.naigaiatuAnzenritu = 2.0;
  d.naigaiatuKeisuN = 2.0;
  return d;
}

bool データの書き出し(DesignData& data, const std::string& path) {
  const char* label = "データの書き出し";
  bool result = false;
  砂時計(true);
  guardStep(label, [&] {
    const std::string bytes = encodeDesignData(data);
    if (WriteResult written = writeFileAtomically(path, bytes); !written) {
      砂時計(false);
      raiseWriteError(written);
    }
    result = true;
  });
  if (result) 履歴ファイル更新(path, RecentFileCause::Saved);
  砂時計(false);
  return result;
}

bool データの呼び出し(DesignData& data, const std::string& path) {
  const char* label = "データの呼び出し";
  bool result = false;
  砂時計(true);
  guardStep(label, [&] {
    const std::optional<std::string> bytes = readFileBytes(path, kDesignRecordSize);
    if (!bytes) {
      砂時計(false);
      raiseError(fileExists(path) ? err::kPathFileAccess : err::kFileNotFound);
    }
    // A file that ends inside the record is no design case: its missing tail would open as
    // zeros that look like values entered.
    if (bytes->size() < kDesignRecordSize) {
      砂時計(false);
      msgBox(notDataFileMessage(path), MsgButtons::OK, MsgIcon::None, "");
      return;
    }
    data = decodeDesignData(*bytes);
    result = true;
  });
  if (result) 履歴ファイル更新(path, RecentFileCause::Opened);
  砂時計(false);
  return result;
}

std::string notDataFileMessage(const std::string& name) {
  return "ﾌｧｲﾙ'" + name + "'は有効なpipedataではありません。";
}

std::int16_t myDataFileKind(const std::string& path) {
  if (path.empty()) return -1;
  try {
    if (!fileExists(path)) return 0;
    const std::optional<std::string> head = readFileBytes(path, kDesignRecordSize);
    if (!head || head->size() < kDesignRecordSize || head->compare(0, 8, "Tovakin_") != 0) return 0;
    switch ((*head)[8]) {
      case 'F': case 'f': return 1;
      case 'T': case 't': return 2;
      case 'A': case 'a': return 3;
      default: return 0;
    }
  } catch (...) {
    return 0;
  }
}

}  // namespace tovakin::app
