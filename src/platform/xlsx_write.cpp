// Writing the edited workbook: the parsed parts go back into the package, the package becomes a
// zip archive in memory, and the archive is written beside the target and renamed over it.
#include <zip.h>

#include <memory>

#include "platform/file_system.h"
#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx {

using namespace detail;

namespace {

struct SourceFree {
  void operator()(zip_source_t* s) const { zip_source_free(s); }
};

// The entries as a zip archive, [Content_Types].xml first as packages customarily have it.
std::string zipPackage(const Package& package, const std::string& target) {
  const auto failure = [&](const std::string& what) -> Error {
    return Error("ブック「" + target + "」を作成できません（" + what + "）。");
  };
  zip_error_t error;
  zip_error_init(&error);
  std::unique_ptr<zip_source_t, SourceFree> buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
  zip_error_fini(&error);
  if (!buffer) throw failure("メモリ");
  zip_source_keep(buffer.get());  // the archive releases its reference on close; ours stays
  zip_error_init(&error);
  zip_t* za = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (!za) {
    zip_source_free(buffer.get());  // the reference the archive would have taken over
    throw failure("zip");
  }

  std::vector<const PackageEntry*> order;
  for (const PackageEntry& e : package.entries())
    if (foldPartName(e.name) == "[content_types].xml") order.push_back(&e);
  for (const PackageEntry& e : package.entries())
    if (foldPartName(e.name) != "[content_types].xml") order.push_back(&e);
  for (const PackageEntry* e : order) {
    zip_source_t* src = zip_source_buffer(za, e->data.data(), e->data.size(), 0);
    if (!src || zip_file_add(za, e->name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
      if (src) zip_source_free(src);
      zip_discard(za);
      throw failure(e->name);
    }
  }
  if (zip_close(za) != 0) {
    const std::string what = zip_strerror(za);
    zip_discard(za);
    throw failure(what);
  }

  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(buffer.get(), &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(buffer.get()) != 0) {
    throw failure("zip");
  }
  std::string bytes(static_cast<std::size_t>(st.size), '\0');
  const zip_int64_t n = zip_source_read(buffer.get(), bytes.data(), bytes.size());
  zip_source_close(buffer.get());
  if (n < 0 || static_cast<std::size_t>(n) != bytes.size()) throw failure("zip");
  return bytes;
}

}  // namespace

std::string EditableWorkbook::serialize() {
  Editor& e = *editor_;
  e.normaliseTabSelection();
  e.removeCalcChain();

  for (auto& [key, sd] : e.sheetDocs) {
    if (!sd->dirty) continue;
    e.m.package.put(sd->part, xmlBytes(*sd->doc));
    sd->dirty = false;
  }
  if (e.sharedStringsTouched && e.m.sharedStringsXml) {
    // Cells that no longer use a string leave the total count of references wrong; it is
    // optional, the number of distinct strings stays right.
    e.m.sharedStringsXml->document_element().remove_attribute("count");
    e.m.package.put(e.m.sharedStringsPart, xmlBytes(*e.m.sharedStringsXml));
    e.sharedStringsTouched = false;
  }
  if (e.stylesDirty && e.m.stylesXml) {
    e.m.package.put(e.m.stylesPart, xmlBytes(*e.m.stylesXml));
    e.stylesDirty = false;
  }
  if (e.appPropertiesDirty && e.appPropertiesXml) {
    e.m.package.put(e.appPropertiesPart, xmlBytes(*e.appPropertiesXml));
    e.appPropertiesDirty = false;
  }
  if (e.workbookDirty) {
    e.m.package.put(e.m.workbookPart, xmlBytes(*e.m.workbookXml));
    e.workbookDirty = false;
  }
  if (e.contentTypesDirty) {
    e.m.package.put("[Content_Types].xml", xmlBytes(*e.contentTypesXml));
    e.contentTypesDirty = false;
  }
  return zipPackage(e.m.package, e.m.path);
}

void EditableWorkbook::saveAs(const std::string& path) {
  const std::string bytes = serialize();
  if (!writeFileAtomically(path, bytes)) throw Error("ブックを保存できません。（" + path + "）");
}

}  // namespace tovakin::platform::xlsx
