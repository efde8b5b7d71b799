#include "ui/form_rules.h"

#include <cmath>
#include <map>

#include "app/std_io.h"
#include "platform/utf8.h"

namespace tovakin::gui {
namespace {

// The string table, ids 1000 to 1075, as the windows show it (half-width katakana and all).
const std::map<int, std::string_view>& stringTable() {
  static const std::map<int, std::string_view> table{
    {1000, "ﾌｧｲﾙ(&F)"},
    {1001, "新規作成(&N)"},
    {1002, "開く(&O)..."},
    {1003, "閉じる(&C)"},
    {1004, "上書き保存(&S)"},
    {1005, "名前を付けて保存(&A)..."},
    {1006, "すべて保存(&L)"},
    {1012, "終了(&X)"},
    {1013, "編集(&E)"},
    {1014, "元に戻す(&U)"},
    {1015, "切り取り(&T)"},
    {1016, "ｺﾋﾟｰ(&C)"},
    {1017, "貼り付け(&P)"},
    {1019, "表示(&V)"},
    {1020, "ﾂｰﾙ ﾊﾞｰ(&T)"},
    {1021, "ｽﾃｰﾀｽ ﾊﾞｰ(&B)"},
    {1023, "ｵﾌﾟｼｮﾝ(&O)..."},
    {1025, "ﾂｰﾙ(&T)"},
    {1026, "ｵﾌﾟｼｮﾝ(&O)..."},
    {1027, "ｳｨﾝﾄﾞｳ(&W)"},
    {1028, "新しいｳｨﾝﾄﾞｳを開く(&N)"},
    {1029, "重ねて表示(&C)"},
    {1030, "上下に並べて表示(&H)"},
    {1031, "左右に並べて表示(&V)"},
    {1032, "ｱｲｺﾝの整列(&A)"},
    {1033, "ﾍﾙﾌﾟ(&H)"},
    {1034, "目次(&C)"},
    {1035, "ﾄﾋﾟｯｸの検索(&S)..."},
    {1036, "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
    {1037, "新規作成"},
    {1038, "開く"},
    {1039, "上書き保存"},
    {1047, "ﾊﾞｰｼﾞｮﾝ"},
    {1048, "Windows 2000/XP"},
    {1049, "Quirn"},
    {1050, "Tovakin"},
    {1052, "ｵﾌﾟｼｮﾝ"},
    {1057, "適用(&A)"},
    {1058, "ｷｬﾝｾﾙ"},
    {1059, "OK"},
    {1060, "ﾊﾞｰｼﾞｮﾝ情報 Tovakin"},
    {1075, "QuirnのWebSiteを表示(&W)"},
  };
  return table;
}

std::optional<std::int16_t> roundedId(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);  // the default rounding mode: half to even
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether the text, blanks around it aside, is one number and nothing else.
bool isWholeNumber(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (t.empty()) return false;
  if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
    const bool hex = t[1] == 'H' || t[1] == 'h';
    for (char c : t.substr(2))
      if (hex ? !isHexDigit(c) : (c < '0' || c > '7')) return false;
    return true;
  }
  std::size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == t.size();
}

}  // namespace

std::optional<std::string> LoadResString(int id) {
  const auto& table = stringTable();
  const auto it = table.find(id);
  if (it == table.end()) return std::nullopt;
  return std::string(it->second);
}

std::optional<std::int16_t> wholeNumberId(std::string_view text) {
  if (!isWholeNumber(text)) return std::nullopt;
  return roundedId(myCDbl(text));
}

std::optional<std::int16_t> leadingNumberId(std::string_view text) { return roundedId(myCDbl(text)); }

std::optional<std::string> formCaptionFor(std::string_view tag) { return textForWholeId(tag); }

std::optional<std::string> labelCaptionFor(std::string_view tag) {
  const auto id = wholeNumberId(tag);
  if (!id || *id < 1000) return std::nullopt;
  return LoadResString(*id);
}

std::optional<std::string> textForWholeId(std::string_view designed) {
  const auto id = wholeNumberId(designed);
  if (!id) return std::nullopt;
  return LoadResString(*id);
}

std::optional<std::string> textForLeadingId(std::string_view designed) {
  const auto id = leadingNumberId(designed);
  if (!id || *id <= 0) return std::nullopt;
  return LoadResString(*id);
}

std::string toolTipFromCaption(std::string_view caption) {
  std::string tip;
  bool afterAmpersand = false;
  for (std::size_t at = 0; at < caption.size();) {
    const utf8::Char c = utf8::decode(caption, at);
    const std::string_view bytes = c.bytesIn(caption);
    at += c.length;
    if (afterAmpersand) {
      afterAmpersand = false;
      if (bytes == "&") {
        tip += '&';
      } else {
        tip += "ALT+";
        tip += bytes;
      }
    } else if (bytes == "&") {
      afterAmpersand = true;
    } else {
      tip += bytes;
    }
  }
  return tip;
}

}  // namespace tovakin::gui
