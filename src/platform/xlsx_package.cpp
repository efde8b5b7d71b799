// The zip package of a workbook, held in memory, and OPC part-name rules.
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/xlsx_model.h"

namespace tovakin::platform::xlsx::detail {
namespace {

[[noreturn]] void packageFail(const std::string& message, const std::string& path) {
  throw Error(message + "（" + path + "）");
}

struct ArchiveCloser {
  void operator()(zip_t* za) const { zip_discard(za); }
};
struct EntryCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

char foldChar(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if (c == '\\') return '/';
  return c;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string foldPartName(std::string_view name) {
  while (!name.empty() && (name.front() == '/' || name.front() == '\\')) name.remove_prefix(1);
  std::string out(name.size(), '\0');
  std::transform(name.begin(), name.end(), out.begin(), foldChar);
  return out;
}

bool validPartName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F || c == '\\') return false;
    if (c == '%' && i + 2 < name.size() && name[i + 1] == '2' && (name[i + 2] == 'f' || name[i + 2] == 'F')) return false;
    if (c == '%' && i + 2 < name.size() && name[i + 1] == '5' && (name[i + 2] == 'c' || name[i + 2] == 'C')) return false;
  }
  std::size_t start = 0;
  for (;;) {
    const auto end = std::min(name.find('/', start), name.size());
    const std::string_view segment = name.substr(start, end - start);
    if (segment.empty() || segment.back() == '.') return false;  // also "." and ".."
    if (end == name.size()) return true;
    start = end + 1;
  }
}

bool isRelationshipsPart(std::string_view partName) {
  std::string source;
  return sourceOfRelationshipsPart(partName, source);
}

bool sourceOfRelationshipsPart(std::string_view relsPart, std::string& source) {
  const std::string folded = foldPartName(relsPart);
  const std::string_view name(folded);
  constexpr std::string_view kFolder = "_rels/", kExtension = ".rels";
  const auto slash = name.rfind('/');
  if (slash == std::string_view::npos || name.size() < slash + 1 + kExtension.size() ||
      name.substr(name.size() - kExtension.size()) != kExtension) {
    return false;
  }
  const std::string_view folder = name.substr(0, slash + 1);  // ".../_rels/"
  if (folder.size() < kFolder.size() || folder.substr(folder.size() - kFolder.size()) != kFolder ||
      (folder.size() > kFolder.size() && folder[folder.size() - kFolder.size() - 1] != '/')) {
    return false;
  }
  // The source keeps the spelling of the relationships part.
  const std::string_view original = relsPart.substr(relsPart.size() - name.size());
  source = std::string(original.substr(0, folder.size() - kFolder.size())) +
           std::string(original.substr(slash + 1, name.size() - slash - 1 - kExtension.size()));
  return true;
}

std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool equalsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string relsPartOf(std::string_view partName) {
  const auto slash = partName.rfind('/');
  if (slash == std::string_view::npos) return "_rels/" + std::string(partName) + ".rels";
  return std::string(partName.substr(0, slash + 1)) + "_rels/" + std::string(partName.substr(slash + 1)) +
         ".rels";
}

bool resolveTarget(std::string_view sourcePart, std::string_view target, std::string& out) {
  // Percent escapes first; a decoded "/" or "\" still counts as a separator below, which can
  // only make a target stricter, never let it out of the package.
  std::string decoded;
  decoded.reserve(target.size());
  for (std::size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && hexValue(target[i + 1]) >= 0 && hexValue(target[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(hexValue(target[i + 1]) * 16 + hexValue(target[i + 2])));
      i += 2;
    } else {
      decoded.push_back(target[i] == '\\' ? '/' : target[i]);
    }
  }
  if (decoded.empty() || decoded.back() == '/') return false;
  // A fragment or query has no meaning for a part inside the package.
  if (decoded.find_first_of("#?") != std::string::npos) return false;
  for (char c : decoded) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }

  std::vector<std::string_view> segments;
  if (decoded.front() != '/') {
    const auto slash = sourcePart.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? std::string_view{} : sourcePart.substr(0, slash);
    std::size_t start = 0;
    while (start < folder.size()) {
      auto end = folder.find('/', start);
      if (end == std::string_view::npos) end = folder.size();
      if (end > start) segments.push_back(folder.substr(start, end - start));
      start = end + 1;
    }
  }
  std::string_view rest(decoded);
  std::size_t start = 0;
  while (start <= rest.size()) {
    auto end = rest.find('/', start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view seg = rest.substr(start, end - start);
    if (seg == "..") {
      if (segments.empty()) return false;  // above the package root
      segments.pop_back();
    } else if (!seg.empty() && seg != ".") {
      segments.push_back(seg);
    }
    start = end + 1;
  }
  if (segments.empty()) return false;
  out.clear();
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i) out.push_back('/');
    out.append(segments[i]);
  }
  return true;
}

Package Package::read(const std::string& bytes, const Limits& limits, const std::string& path) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) {
    zip_error_fini(&error);
    packageFail("ブックを読み込めません。", path);
  }
  std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
  zip_error_fini(&error);
  if (!archive) {
    zip_source_free(source);
    packageFail("Excel ブック (.xlsx) の形式ではありません。", path);
  }

  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  if (count < 0) packageFail("ブックの内容を読み取れません。", path);
  if (static_cast<std::uint64_t>(count) > limits.maxEntries) {
    packageFail("ブックの部品の数が多すぎます。", path);
  }

  // The directory first: every size it states is checked before anything is inflated.
  struct Kept {
    zip_uint64_t index;
    std::string name;
    std::uint64_t size;
  };
  Package package;
  std::vector<Kept> kept;
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
        !(st.valid & ZIP_STAT_SIZE)) {
      packageFail("ブックの内容を読み取れません。", path);
    }
    std::string name = st.name;
    if (name.empty() || name.back() == '/') continue;  // folder entries carry no part
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
      packageFail("暗号化されたブックは読み込めません。", path);
    }
    // An entry that cannot be a part ("../x", "/x", "a\\b", "a//b") is left out, unread; the
    // model refuses the workbook when something refers to it.
    if (!validPartName(name)) {
      package.dropped_.push_back(std::move(name));
      continue;
    }
    if (st.size > limits.maxEntrySize) packageFail("ブックの部品「" + name + "」が大きすぎます。", path);
    total += st.size;
    if (total > limits.maxTotalSize) packageFail("ブックの内容が大きすぎます。", path);
    const std::string key = foldPartName(name);
    if (package.index_.count(key)) packageFail("ブックの部品「" + name + "」が重複しています。", path);
    package.index_.emplace(key, kept.size());
    kept.push_back({static_cast<zip_uint64_t>(i), std::move(name), st.size});
  }

  package.entries_.reserve(kept.size());
  std::string buffer(64 * 1024, '\0');
  for (Kept& k : kept) {
    std::unique_ptr<zip_file_t, EntryCloser> file(zip_fopen_index(archive.get(), k.index, 0));
    if (!file) packageFail("ブックの部品「" + k.name + "」を読み取れません。", path);
    std::string data;
    data.reserve(static_cast<std::size_t>(k.size));
    for (;;) {
      const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
      if (n < 0) packageFail("ブックの部品「" + k.name + "」が壊れています。", path);
      if (n == 0) break;
      // The stored size is a claim of the archive: never inflate beyond it.
      if (data.size() + static_cast<std::uint64_t>(n) > k.size) {
        packageFail("ブックの部品「" + k.name + "」が壊れています。", path);
      }
      data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    if (data.size() != k.size) packageFail("ブックの部品「" + k.name + "」が壊れています。", path);
    package.entries_.push_back({std::move(k.name), std::move(data)});
  }
  return package;
}

const std::string* Package::find(std::string_view partName) const {
  const auto it = index_.find(foldPartName(partName));
  return it == index_.end() ? nullptr : &entries_[it->second].data;
}

std::string* Package::find(std::string_view partName) {
  const auto it = index_.find(foldPartName(partName));
  return it == index_.end() ? nullptr : &entries_[it->second].data;
}

void Package::put(std::string_view partName, std::string data) {
  if (std::string* existing = find(partName)) {
    *existing = std::move(data);
    return;
  }
  std::string name(partName);
  while (!name.empty() && name.front() == '/') name.erase(0, 1);
  index_.emplace(foldPartName(name), entries_.size());
  entries_.push_back({std::move(name), std::move(data)});
}

bool Package::erase(std::string_view partName) {
  const auto it = index_.find(foldPartName(partName));
  if (it == index_.end()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(it->second));
  reindex();
  return true;
}

void Package::reindex() {
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(foldPartName(entries_[i].name), i);
}

}  // namespace tovakin::platform::xlsx::detail
