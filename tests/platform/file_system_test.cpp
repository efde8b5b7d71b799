#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tovakin::platform {
namespace {

using test::readBytes;
using test::writeBytes;

TEST(FileSystem, FileExistsIsTheSearchForNormalFiles) {
  test::TempDir dir;
  writeBytes(dir.file("a.PIPEDATA"), "x");
  writeBytes(dir.file(".hidden.PIPEDATA"), "x");
  std::filesystem::create_directory(dir.file("folder"));
  std::filesystem::create_symlink(dir.file("a.PIPEDATA"), dir.file("link.PIPEDATA"));
  EXPECT_TRUE(fileExists(dir.file("a.PIPEDATA")));
  EXPECT_TRUE(fileExists(dir.file("link.PIPEDATA")));
  EXPECT_FALSE(fileExists(dir.file(".hidden.PIPEDATA")));
  EXPECT_FALSE(fileExists(dir.file("folder")));
  EXPECT_FALSE(fileExists(dir.file("missing")));
  EXPECT_FALSE(fileExists(dir.file("a.PIPEDATA/")));
  EXPECT_FALSE(fileExists(dir.file("*.PIPEDATA")));  // no wildcards
  EXPECT_FALSE(fileExists(""));
}

// A path kept in CP932 comes back with '～' for the '〜' on disk, or "?" for a character CP932
// lacks: it is found again as the one entry CP932 writes the same way.
TEST(FileSystem, APathKeptInCp932IsFoundOnDiskAgain) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("区間〜A"));
  writeBytes(dir.file("区間〜A/1〜3−2.PIPEDATA"), "x");
  writeBytes(dir.file("区間〜A/café.PIPEDATA"), "x");
  writeBytes(dir.file("区間〜A/naïve.PIPEDATA"), "x");
  writeBytes(dir.file("区間〜A/naíve.PIPEDATA"), "x");  // "na?ve" as well as the one above
  const struct {
    std::string kept;
    std::string onDisk;
  } cases[] = {
      {dir.file("区間～A/1～3－2.PIPEDATA"), dir.file("区間〜A/1〜3−2.PIPEDATA")},
      {dir.file("区間～A/caf?.PIPEDATA"), dir.file("区間〜A/café.PIPEDATA")},
      {dir.file("区間〜A/1〜3−2.PIPEDATA"), dir.file("区間〜A/1〜3−2.PIPEDATA")},  // there as it is
      {dir.file("区間～A/na?ve.PIPEDATA"), dir.file("区間～A/na?ve.PIPEDATA")},    // two alike: none chosen
      {dir.file("区間～A/gone.PIPEDATA"), dir.file("区間～A/gone.PIPEDATA")},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(pathOnDiskFromCp932(c.kept), c.onDisk) << c.kept;
}

TEST(FileSystem, AtomicWriteReplacesAndKeepsPermissions) {
  test::TempDir dir;
  std::string f = dir.file("TOVAKIN.INI");
  ASSERT_TRUE(writeFileAtomically(f, "one"));
  EXPECT_EQ(readBytes(f), "one");
  ::chmod(f.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(f, std::string("t\0o", 3)));
  EXPECT_EQ(readBytes(f), std::string("t\0o", 3));
  struct stat st;
  ASSERT_EQ(::stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temp file left
}

TEST(FileSystem, FailedAtomicWriteLeavesTheOldFile) {
  test::TempDir dir;
  std::string f = dir.file("old.PIPEDATA");
  writeBytes(f, "old");
  ::chmod(f.c_str(), 0444);  // read-only file
  EXPECT_FALSE(writeFileAtomically(f, "new"));
  EXPECT_EQ(readBytes(f), "old");
  ::chmod(f.c_str(), 0644);

  EXPECT_FALSE(writeFileAtomically(dir.file("nofolder/x"), "new"));
  std::filesystem::create_directory(dir.file("folder"));
  EXPECT_FALSE(writeFileAtomically(dir.file("folder"), "new"));

  ::chmod(dir.path().c_str(), 0555);  // read-only folder
  EXPECT_TRUE(test::runUnprivileged([&] { return !writeFileAtomically(f, "new") && readBytes(f) == "old"; }));
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(FileSystem, ALinkIsFollowedToTheFileItFinallyPointsTo) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("real"));
  writeBytes(dir.file("real/a.PIPEDATA"), "old");
  ::chmod(dir.file("real/a.PIPEDATA").c_str(), 0600);
  std::filesystem::create_symlink("real/a.PIPEDATA", dir.file("inner"));     // relative
  std::filesystem::create_symlink(dir.file("inner"), dir.file("outer"));     // absolute, to a link
  std::filesystem::create_symlink("real/b.PIPEDATA", dir.file("dangling"));  // to no file yet
  ASSERT_TRUE(writeFileAtomically(dir.file("outer"), "new"));
  ASSERT_TRUE(writeFileAtomically(dir.file("dangling"), "made"));
  for (const char* link : {"inner", "outer", "dangling"})
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link))) << link;
  EXPECT_EQ(readBytes(dir.file("real/a.PIPEDATA")), "new");
  EXPECT_EQ(readBytes(dir.file("real/b.PIPEDATA")), "made");
  struct stat st;
  ASSERT_EQ(::stat(dir.file("real/a.PIPEDATA").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("real")), {}), 2);
}

// Temporary files of a writer that was killed are removed by the next write of their file; those
// of a writer still running, and those of other files, stay.
TEST(FileSystem, StaleTemporariesOfAFileGoBeforeItsNextWrite) {
  test::TempDir dir;
  const std::string gone =
      testing::inChildWithFileSizeLimit(RLIM_INFINITY, [] { return std::to_string(::getpid()); }).value();
  const std::string mine = std::to_string(::getpid()), running = "1", of = ".a.PIPEDATA.tovakin-tmp.";
  const std::string stale[] = {of + gone + ".Ab3dE9", of + mine + ".zzzzzz"};
  const std::string kept[] = {of + running + ".Ab3dE9", ".b.PIPEDATA.tovakin-tmp." + gone + ".Ab3dE9",
                              of + gone + ".long-name", ".a.PIPEDATA.12345"};
  for (const auto& name : stale) writeBytes(dir.file(name), "partial");
  for (const auto& name : kept) writeBytes(dir.file(name), "partial");
  ASSERT_TRUE(writeFileAtomically(dir.file("a.PIPEDATA"), "new"));
  for (const auto& name : stale) EXPECT_FALSE(pathExists(dir.file(name))) << name;
  for (const auto& name : kept) EXPECT_TRUE(pathExists(dir.file(name))) << name;
}

TEST(FileSystem, ReadCreateRemove) {
  test::TempDir dir;
  std::string f = dir.file("data");
  EXPECT_FALSE(readFileBytes(f).has_value());
  EXPECT_FALSE(readFileBytes(dir.path()).has_value());
  writeBytes(f, "0123456789");
  EXPECT_EQ(readFileBytes(f), "0123456789");
  EXPECT_EQ(readFileBytes(f, 4), "0123");
  EXPECT_EQ(readFileBytes(f, 0), "");

  // An existing file, also a hidden one, is never emptied.
  std::string hidden = dir.file(".TOVAKIN.INI");
  writeBytes(hidden, "[Tovakin]");
  EXPECT_TRUE(createEmptyFileIfMissing(hidden));
  EXPECT_EQ(readBytes(hidden), "[Tovakin]");
  std::string created = dir.file("new.INI");
  EXPECT_TRUE(createEmptyFileIfMissing(created));
  EXPECT_TRUE(fileExists(created));
  EXPECT_EQ(readBytes(created), "");
  EXPECT_FALSE(createEmptyFileIfMissing(dir.path()));
  EXPECT_FALSE(createEmptyFileIfMissing(dir.file("nofolder/x")));

  // A link to a file not there yet gets that file, as a replacement would; the link stays.
  std::filesystem::create_directory(dir.file("store"));
  std::filesystem::create_symlink("store/TOVAKIN.INI", dir.file("TOVAKIN.INI"));
  EXPECT_TRUE(createEmptyFileIfMissing(dir.file("TOVAKIN.INI")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("TOVAKIN.INI")));
  EXPECT_TRUE(fileExists(dir.file("store/TOVAKIN.INI")));
  std::filesystem::create_symlink("nofolder/x", dir.file("nowhere"));
  EXPECT_EQ(createEmptyFileIfMissing(dir.file("nowhere")).error(), ENOENT);

  EXPECT_TRUE(removeFile(created));
  EXPECT_FALSE(removeFile(created));
  EXPECT_FALSE(removeFile(dir.path()));
}

TEST(FileSystem, ExecutableDirEndsWithSlash) {
  std::string d = executableDir();
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d.back(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(d));
}

}  // namespace
}  // namespace tovakin::platform
