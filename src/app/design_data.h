#pragma once
// One design case. On disk it is the whole .PIPEDATA file: 2800 bytes, little-endian,
// fields packed at the offsets of TOVAKIN_DESIGN_FIELDS (see document_file.h for the codec).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

struct DesignData {
  FixedText<32> dataTag;
  FixedText<128> keisanshoTitle;
  double createDate = 0.0;  // OLE date
  double updateDate = 0.0;  // OLE date
  std::int32_t spare1 = 0;
  FixedText<128> kanshu;
  FixedText<32> kikaku;
  FixedText<32> yobikei;
  double gaikei = 0.0;
  double kanatu = 0.0;
  double naikei = 0.0;
  double chushinHankei = 0.0;
  double spare2 = 0.0;
  double spare3 = 0.0;
  double kisoKeishiki = 0.0;
  double shijikaku = 0.0;
  double dokaburi = 0.0;
  double mizohaba = 0.0;
  double hyojunMizohaba = 0.0;
  double maisetuKeishiki = 0.0;
  double spare4 = 0.0;
  double spare5 = 0.0;
  double spare6 = 0.0;
  double tuchiTanniJuryo = 0.0;
  double naibuMasatukaku = 0.0;
  double kajuJoken = 0.0;
  double howadoTanniJuryo = 0.0;
  double spare7 = 0.0;
  double chinkahi = 0.0;
  double doroJoken = 0.0;
  FixedText<32> josaiKajuMeisho;
  FixedText<32> josaiKaju;
  double buruJoken = 0.0;
  std::int32_t kyatapiraSu = 0;
  double sekojiShogekiKeisu = 0.0;
  double seisuiatu = 0.0;
  double suigekiatu = 0.0;
  double kisozaiMizohaba = 0.0;
  double spare8 = 0.0;
  double spare9 = 0.0;
  double spare10 = 0.0;
  double spare11 = 0.0;
  double spare12 = 0.0;
  double spare13 = 0.0;
  double spare14 = 0.0;
  double spare15 = 0.0;
  double spare16 = 0.0;
  double spare17 = 0.0;
  double kanzaiKubun = 0.0;
  double mizuTanniJuryo = 0.0;
  double hanryokuKeisu = 0.0;
  std::int32_t hanryokuKeisuHoho = 0;
  double hanryokuKeisuNyuryoku = 0.0;
  double kijunHanryokuKeisu = 0.0;
  double alphaA = 0.0;
  double alphaB = 0.0;
  double katameDo = 0.0;
  double alphaW = 0.0;
  double hanryokuKeisuHyojunshiki = 0.0;
  double hanryokuKeisuSemento = 0.0;
  double hanryokuKeisuShokokei = 0.0;
  double tawamiDeltaX = 0.0;
  double tawamiF1 = 0.0;
  double tawamiK = 0.0;
  double tawamiWv = 0.0;
  double tawamiR = 0.0;
  double tawamiE = 0.0;
  double tawamiI = 0.0;
  double hanryokuKeisuTawamiryoshiki = 0.0;
  double henkeiOkureF1 = 0.0;
  double henkeiOkureF2 = 0.0;
  double spare18 = 0.0;
  double kanatuKeisan = 0.0;
  double naikeiKeisan = 0.0;
  double spare19 = 0.0;
  std::int16_t ganbanFlg = 0;  // Boolean: -1 true, 0 false
  double sekkeiTawamiritu = 0.0;
  double naigaiatuAnzenritu = 0.0;
  double naigaiatuKeisuN = 0.0;
  std::array<std::uint8_t, 1826> spare20{};
};

}  // namespace tovakin::app
