// The .PIPEDATA codec: any bytes decode to a record as the file reader does, and the record
// survives encoding and decoding again. The one documented loss is a text field holding bytes
// that are not CP932: they decode to U+FFFD, which CP932 cannot hold and so is written as "?".
#include <bit>
#include <string>

#include "app/design_data.h"
#include "app/document_file.h"
#include "fuzz/fuzz_target.h"

namespace {

using tovakin::app::DesignData;
using tovakin::app::FixedText;
using tovakin::app::kDesignRecordSize;

// The text a field must hold after one more pass through the file.
std::string afterRoundTrip(const std::string& text) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, kReplacement.size(), kReplacement) == 0) {
      out.push_back('?');
      at += kReplacement.size();
    } else {
      out.push_back(text[at++]);
    }
  }
  return out;
}

// Per field kind: does the value read back (`again`) agree with the first reading (`first`)?
// Numbers are compared bit for bit, so that a NaN read from the file must come back the same NaN.
template <std::size_t N>
bool sameText(const FixedText<N>& first, const FixedText<N>& again) {
  return again.assigned() && afterRoundTrip(first.str()) == again.str();
}
bool sameDouble(double first, double again) {
  return std::bit_cast<std::uint64_t>(first) == std::bit_cast<std::uint64_t>(again);
}
bool sameDate(double first, double again) { return sameDouble(first, again); }
bool sameLong(std::int32_t first, std::int32_t again) { return first == again; }
bool sameInteger(std::int16_t first, std::int16_t again) { return first == again; }
template <class Array>
bool sameBytes(const Array& first, const Array& again) {
  return first == again;
}

// Fields that are not text are stored as they are: their bytes in the re-encoded record are the
// bytes of the input (zeros past its end).
constexpr bool kCarriedAsBytes_Text = false;
constexpr bool kCarriedAsBytes_Date = true;
constexpr bool kCarriedAsBytes_Double = true;
constexpr bool kCarriedAsBytes_Long = true;
constexpr bool kCarriedAsBytes_Integer = true;
constexpr bool kCarriedAsBytes_Bytes = true;

}  // namespace

TOVAKIN_FUZZ_TARGET(design_file) {
  const std::string_view input = tovakin::fuzz::bytesOf(data, size);
  std::string padded(input.substr(0, kDesignRecordSize));
  padded.resize(kDesignRecordSize, '\0');

  const DesignData first = tovakin::app::decodeDesignData(input);
  const std::string encoded = tovakin::app::encodeDesignData(first);
  TOVAKIN_FUZZ_CHECK(encoded.size() == kDesignRecordSize);
  const DesignData again = tovakin::app::decodeDesignData(encoded);

#define TOVAKIN_CHECK_FIELD(kind, member, offset, width)                                          \
  TOVAKIN_FUZZ_CHECK(same##kind(first.member, again.member));                                     \
  TOVAKIN_FUZZ_CHECK(!kCarriedAsBytes_##kind ||                                                   \
                     encoded.compare(offset, width, padded, offset, width) == 0);
  TOVAKIN_DESIGN_FIELDS(TOVAKIN_CHECK_FIELD)
#undef TOVAKIN_CHECK_FIELD

  // After one pass the record is what the file holds: writing it again changes no byte.
  TOVAKIN_FUZZ_CHECK(tovakin::app::encodeDesignData(again) == encoded);
  return 0;
}
