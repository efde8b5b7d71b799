#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace tovakin {
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

// Length of the well-formed UTF-8 sequence at s[i], or 0 when it is not well-formed
// (overlong forms, surrogates and values above U+10FFFF are not well-formed).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  if (c < 0x80) return 1;
  std::size_t len;
  std::uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return len;
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

}  // namespace

std::string toCp932(std::string_view utf8) {
  // Invalid UTF-8 is replaced first, so that a refusal of the converter always means a
  // character CP932 has no code for.
  std::string clean;
  clean.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t len = utf8SequenceLength(utf8, i);
    if (len == 0) {
      clean.push_back('?');
      ++i;
    } else {
      clean.append(utf8.substr(i, len));
      i += len;
    }
  }
  iconv_t cd = converters().toCp();
  if (cd == Converters::invalid()) {  // no converter: keep what is plain ASCII
    for (char& ch : clean)
      if (static_cast<unsigned char>(ch) >= 0x80) ch = '?';
    return clean;
  }
  return convert(cd, clean, [](std::string_view in, std::size_t at, std::string& out) {
    out.push_back('?');
    std::size_t len = utf8SequenceLength(in, at);
    return len == 0 ? std::size_t{1} : len;
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

}  // namespace tovakin
