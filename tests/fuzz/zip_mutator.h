#pragma once
// A libFuzzer mutator for the workbook targets. Changing bytes of an .xlsx file almost never
// gets past the zip layer: every entry carries a checksum, so a mutated part is refused before
// its XML is parsed. Most of the time this mutator therefore unpacks the input, lets libFuzzer
// mutate one entry (or its name), and packs the entries again uncompressed with correct
// checksums; the rest of the time, or when the input is no zip, it mutates the raw bytes, so
// that the archive structure itself is still fuzzed.
//
// Only the libFuzzer build defines the mutator: include this header from one source file of a
// fuzz executable. In the replay test it is empty.
#ifdef TOVAKIN_FUZZ_LIBFUZZER

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace tovakin::fuzz::zip_mutator {

using Entries = std::vector<std::pair<std::string, std::string>>;  // name, bytes

inline std::optional<Entries> unpack(const std::uint8_t* data, std::size_t size) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  zip_error_fini(&error);
  if (!archive) {
    if (source) zip_source_free(source);
    return std::nullopt;
  }
  Entries entries;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  bool ok = count > 0 && count <= 200;
  for (zip_int64_t i = 0; ok && i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    const auto index = static_cast<zip_uint64_t>(i);
    zip_file_t* file = nullptr;
    ok = zip_stat_index(archive, index, 0, &st) == 0 && (st.valid & ZIP_STAT_NAME) && (st.valid & ZIP_STAT_SIZE) &&
         st.size <= (1u << 20) && (file = zip_fopen_index(archive, index, 0)) != nullptr;
    if (!ok) break;
    std::string bytes(static_cast<std::size_t>(st.size), '\0');
    ok = zip_fread(file, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size());
    zip_fclose(file);
    entries.emplace_back(st.name, std::move(bytes));
  }
  zip_discard(archive);
  if (!ok) return std::nullopt;
  return entries;
}

// The entries as a zip, every one stored uncompressed; nullopt when libzip refuses.
inline std::optional<std::string> pack(const Entries& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* sink = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!sink) {
    zip_error_fini(&error);
    return std::nullopt;
  }
  zip_source_keep(sink);
  zip_t* archive = zip_open_from_source(sink, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  bool ok = archive != nullptr;
  for (const auto& [name, bytes] : entries) {
    if (!ok) break;
    zip_source_t* part = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    const zip_int64_t index = part ? zip_file_add(archive, name.c_str(), part, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (part) zip_source_free(part);
      ok = false;
      break;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  }
  if (archive && (!ok || zip_close(archive) != 0)) {
    zip_discard(archive);
    ok = false;
  }
  std::optional<std::string> out;
  if (ok && zip_source_open(sink) == 0) {
    std::string bytes;
    char buffer[16384];
    zip_int64_t n;
    while ((n = zip_source_read(sink, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    zip_source_close(sink);
    if (n == 0) out = std::move(bytes);
  }
  zip_source_free(sink);
  return out;
}

inline std::size_t mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned int seed) {
  std::minstd_rand random(seed);
  if (random() % 5 != 0) {
    if (std::optional<Entries> entries = unpack(data, size)) {
      auto& [name, bytes] = (*entries)[random() % entries->size()];
      std::string& target = random() % 16 == 0 ? name : bytes;
      if (target.empty()) return LLVMFuzzerMutate(data, size, maxSize);
      const std::size_t room = target.size() + 64;
      target.resize(room);
      const std::size_t length =
          LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(target.data()), room - 64, room);
      target.resize(length);
      if (std::optional<std::string> packed = pack(*entries); packed && packed->size() <= maxSize) {
        std::memcpy(data, packed->data(), packed->size());
        return packed->size();
      }
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}

}  // namespace tovakin::fuzz::zip_mutator

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  return tovakin::fuzz::zip_mutator::mutate(data, size, maxSize, seed);
}

#endif  // TOVAKIN_FUZZ_LIBFUZZER
