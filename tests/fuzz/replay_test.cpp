// Replays the committed fuzz corpus in the normal test run: every file under
// tests/fuzz/corpus/<target>/ goes through the target of that name, one test per file. The
// folders are read when the tests are listed, so a reproducer dropped into a folder is a test
// without any change to the build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace tovakin::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = TOVAKIN_FUZZ_CORPUS;

struct Seed {
  std::string target;
  fs::path file;
  std::string testName;  // the file name as a test name can hold it
};

// gtest shows the parameter of a failing test: the file, not the bytes of the struct.
void PrintTo(const Seed& seed, std::ostream* out) { *out << seed.file.string(); }

// Test names allow letters, digits and "_" only.
std::string asTestName(const std::string& fileName) {
  std::string name;
  for (unsigned char c : fileName) name.push_back(std::isalnum(c) ? static_cast<char>(c) : '_');
  return name.empty() ? std::string("_") : name;
}

bool isSeedFile(const fs::directory_entry& entry) {
  // Dot files are the folder's own (.gitkeep) or an editor's, never an input.
  return entry.is_regular_file() && entry.path().filename().string().front() != '.';
}

// The files of one target's folder, sorted, each with a test name of its own.
std::vector<Seed> seedsOf(const std::string& target) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus / target, ec))
    if (isSeedFile(entry)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  std::vector<Seed> seeds;
  std::set<std::string> taken;
  for (const fs::path& file : files) {
    const std::string base = asTestName(file.filename().string());
    std::string name = base;
    for (int n = 2; !taken.insert(name).second; ++n) name = base + "_" + std::to_string(n);
    seeds.push_back({target, file, name});
  }
  return seeds;
}

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Replay : public ::testing::TestWithParam<Seed> {};

TEST_P(Replay, Input) {
  const Seed& seed = GetParam();
  const auto found = targets().find(seed.target);
  ASSERT_NE(found, targets().end()) << "no fuzz target named " << seed.target;

  ASSERT_TRUE(std::ifstream(seed.file, std::ios::binary).good()) << "cannot read " << seed.file;
  const std::string bytes = readAll(seed.file);
  // A buffer of exactly the input's size, as libFuzzer passes it, so that a read past the end
  // is caught by AddressSanitizer here too.
  const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), data.get());
  EXPECT_EQ(found->second(data.get(), bytes.size()), 0);
}

std::string nameOf(const ::testing::TestParamInfo<Seed>& info) { return info.param.testName; }

INSTANTIATE_TEST_SUITE_P(design_file, Replay, ::testing::ValuesIn(seedsOf("design_file")), nameOf);
INSTANTIATE_TEST_SUITE_P(ini, Replay, ::testing::ValuesIn(seedsOf("ini")), nameOf);
INSTANTIATE_TEST_SUITE_P(cp932, Replay, ::testing::ValuesIn(seedsOf("cp932")), nameOf);
INSTANTIATE_TEST_SUITE_P(workbook_read, Replay, ::testing::ValuesIn(seedsOf("workbook_read")), nameOf);
INSTANTIATE_TEST_SUITE_P(workbook_edit, Replay, ::testing::ValuesIn(seedsOf("workbook_edit")), nameOf);

// Every target has a folder with seeds, and every folder belongs to a target: a folder whose
// name is misspelt would otherwise be skipped without a word.
TEST(ReplayCorpus, EveryTargetHasSeedsAndEveryFolderATarget) {
  const std::set<std::string> instantiated = {"design_file", "ini", "cp932", "workbook_read", "workbook_edit"};
  for (const auto& [name, target] : targets()) {
    EXPECT_TRUE(instantiated.count(name)) << name << " is not replayed";
    EXPECT_FALSE(seedsOf(name).empty()) << "no seeds in " << (kCorpus / name);
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
    if (!entry.is_directory()) continue;
    EXPECT_TRUE(targets().count(entry.path().filename().string())) << entry.path() << " has no target of that name";
  }
  EXPECT_EQ(targets().size(), instantiated.size());
}

}  // namespace
}  // namespace tovakin::fuzz
