#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "platform/utf8.h"

namespace tovakin::platform {
namespace {

// One pair of conversion descriptors per thread, opened on first use and closed at thread exit.
class Converters {
 public:
  Converters() : toCp_(iconv_open("CP932", "UTF-8")), fromCp_(iconv_open("UTF-8", "CP932")) {}
  ~Converters() {
    if (toCp_ != invalid()) iconv_close(toCp_);
    if (fromCp_ != invalid()) iconv_close(fromCp_);
  }
  Converters(const Converters&) = delete;
  Converters& operator=(const Converters&) = delete;

  iconv_t toCp() const { return toCp_; }
  iconv_t fromCp() const { return fromCp_; }
  static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

 private:
  iconv_t toCp_;
  iconv_t fromCp_;
};

Converters& converters() {
  thread_local Converters c;
  return c;
}

// Runs one conversion over the whole input. `onBad` is called when the converter refuses the
// input at a position; it appends its replacement and returns how many input bytes to skip.
template <class OnBad>
std::string convert(iconv_t cd, std::string_view in, OnBad onBad) {
  std::string out;
  if (in.empty()) return out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset any shift state
  out.reserve(in.size() * 2);
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: the converter cannot take the input at src.
    std::size_t offset = static_cast<std::size_t>(src - in.data());
    std::size_t skip = onBad(in, offset, out);
    if (skip == 0 || skip > srcLeft) skip = srcLeft;
    src += skip;
    srcLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

struct Counterpart {
  char32_t jis;
  char32_t cp932;
};
constexpr Counterpart kCounterparts[] = {
    {0x301C, 0xFF5E},  // 〜 wave dash -> ～
    {0x2212, 0xFF0D},  // − minus -> －
    {0x2016, 0x2225},  // ‖ -> ∥
    {0x00A2, 0xFFE0},  // ¢ -> ￠
    {0x00A3, 0xFFE1},  // £ -> ￡
    {0x00AC, 0xFFE2},  // ¬ -> ￢
};

}  // namespace

char32_t cp932Counterpart(char32_t c) {
  for (const Counterpart& p : kCounterparts)
    if (p.jis == c) return p.cp932;
  return c;
}

std::string describeChar(char32_t c) {
  std::string text;
  utf8::append(text, c);
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return text + " (" + code + ")";
}

std::optional<char32_t> firstCharNotInCp932(std::string_view text) {
  for (const utf8::Char& c : utf8::chars(text)) {
    if (!c.valid) return utf8::kReplacement;
    if (c.codePoint < 0x80) continue;
    // Held when it comes back as itself or as its full-width counterpart; a character that comes
    // back as another one ("¥" as a backslash) is not.
    std::string back;
    utf8::append(back, cp932Counterpart(c.codePoint));
    if (fromCp932(toCp932(c.bytesIn(text))) != back) return c.codePoint;
  }
  return std::nullopt;
}

std::string toCp932(std::string_view text) {
  // Invalid UTF-8 is replaced first, so that a refusal of the converter always means a
  // character CP932 has no code for.
  std::string clean;
  clean.reserve(text.size());
  iconv_t cd = converters().toCp();
  for (const utf8::Char& c : utf8::chars(text)) {
    // Without a converter only plain ASCII is kept.
    if (c.valid && (c.codePoint < 0x80 || cd != Converters::invalid()))
      utf8::append(clean, cp932Counterpart(c.codePoint));
    else
      clean.push_back('?');
  }
  if (cd == Converters::invalid()) return clean;
  return convert(cd, clean, [](std::string_view in, std::size_t at, std::string& out) {
    out.push_back('?');
    return utf8::decode(in, at).length;
  });
}

std::string fromCp932(std::string_view bytes) {
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
  iconv_t cd = converters().fromCp();
  if (cd == Converters::invalid()) {
    std::string out;
    for (char ch : bytes) {
      if (static_cast<unsigned char>(ch) < 0x80)
        out.push_back(ch);
      else
        out.append(kReplacement);
    }
    return out;
  }
  // A refused byte is replaced on its own, so that a valid byte after a broken lead byte is kept.
  return convert(cd, bytes, [](std::string_view, std::size_t, std::string& out) {
    out.append(kReplacement);
    return std::size_t{1};
  });
}

std::size_t cp932CutLength(std::string_view bytes, std::size_t n) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t len = isCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (i + len > n) break;
    i += len;
  }
  return i;
}

std::string toCp932Cut(std::string_view utf8, std::size_t n) {
  std::string bytes = toCp932(utf8);
  bytes.resize(cp932CutLength(bytes, n));
  return bytes;
}

}  // namespace tovakin::platform
