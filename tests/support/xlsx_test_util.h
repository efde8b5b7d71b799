#pragma once
// Helpers to make test workbooks: temporary folders, zips written part by part with libzip,
// the parts of a minimal workbook, and running the xlsxgen tool.
#include <sys/wait.h>
#include <zip.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tovakin::testing {
using namespace tovakin::platform;

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("tovakin_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// Writes a zip with the entries in order. `store` keeps them uncompressed.
inline void writeZip(const std::string& path, const ZipEntries& entries, bool store = false) {
  int error = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!za) throw std::runtime_error("zip_open failed for " + path);
  for (const auto& [name, data] : entries) {
    zip_source_t* src = zip_source_buffer(za, data.data(), data.size(), 0);
    const zip_int64_t index = src ? zip_file_add(za, name.c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (src) zip_source_free(src);
      zip_discard(za);
      throw std::runtime_error("zip_file_add failed for " + name);
    }
    if (store) zip_set_file_compression(za, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  }
  if (zip_close(za) != 0) {
    zip_discard(za);
    throw std::runtime_error("zip_close failed for " + path);
  }
}

inline const char* kSpreadsheetNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline const char* kRelTypeBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A worksheet part around the given <sheetData> content.
inline std::string sheetXml(const std::string& sheetData) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"") +
         kSpreadsheetNs + "\" xmlns:r=\"" + kRelNs + "\"><sheetData>" + sheetData + "</sheetData></worksheet>";
}

// A shared-strings part from <si> contents.
inline std::string sharedStringsXml(const std::vector<std::string>& items) {
  std::string xml = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"") + kSpreadsheetNs + "\">";
  for (const auto& item : items) xml += "<si>" + item + "</si>";
  return xml + "</sst>";
}

// The parts of a minimal workbook: sheets in the given order (name, worksheet XML), stored as
// xl/worksheets/sheet<N>.xml, with an optional shared-strings part.
inline ZipEntries minimalWorkbook(const std::vector<std::pair<std::string, std::string>>& sheets,
                                  const std::string& sharedStrings = {}) {
  std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
      "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
  std::string workbook = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"") +
                         kSpreadsheetNs + "\" xmlns:r=\"" + kRelNs + "\"><sheets>";
  std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  ZipEntries parts;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    types += "<Override PartName=\"/xl/worksheets/sheet" + n +
             ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    workbook += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + kRelTypeBase + "worksheet\" Target=\"worksheets/sheet" + n +
            ".xml\"/>";
    parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets[i].second);
  }
  if (!sharedStrings.empty()) {
    types += "<Override PartName=\"/xl/sharedStrings.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
    rels += std::string("<Relationship Id=\"rIdS\" Type=\"") + kRelTypeBase +
            "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
  }
  types += "</Types>";
  workbook += "</sheets></workbook>";
  rels += "</Relationships>";
  ZipEntries all{
      {"[Content_Types].xml", types},
      {"_rels/.rels", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                                  "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                  "<Relationship Id=\"rId1\" Type=\"") +
                          kRelTypeBase + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", workbook},
      {"xl/_rels/workbook.xml.rels", rels},
  };
  all.insert(all.end(), parts.begin(), parts.end());
  return all;
}

// Replaces the bytes of one entry (adding it when absent).
inline void setEntry(ZipEntries& entries, const std::string& name, const std::string& bytes) {
  for (auto& e : entries) {
    if (e.first == name) {
      e.second = bytes;
      return;
    }
  }
  entries.emplace_back(name, bytes);
}

inline std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

// Runs the xlsxgen tool with the arguments; returns its exit status (-1 when it did not exit).
// Its standard error goes to `stderrPath` when given, else it is discarded.
inline int runXlsxgen(const std::vector<std::string>& args, const std::string& stderrPath = {}) {
  std::string command = shellQuote(TOVAKIN_XLSXGEN);
  for (const auto& a : args) command += " " + shellQuote(a);
  command += " 2>" + (stderrPath.empty() ? std::string("/dev/null") : shellQuote(stderrPath));
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tovakin::testing
