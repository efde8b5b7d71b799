// Every writer replaces its file the same way: the file's permissions and owner kept, a
// read-only file refused with the same error, a symbolic link followed to its file. Under faults
// met in the middle of a write (a full disk, a folder that refuses the temporary file, a process
// killed before the rename) the old file stays, the box says why, and the next write clears
// what a killed one left.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "report/file_writers_fixture.h"
#include "support/child_process.h"
#include "support/write_faults.h"

namespace tovakin::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(FileWritersTest, EveryWriterKeepsThePermissionsAndOwnerOfItsFile) {
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    ASSERT_EQ(::chmod(w.file.c_str(), 0600), 0);
    const bool chowned = ::geteuid() == 0 && ::chown(w.file.c_str(), 65534, 65534) == 0;
    const Snapshot before = snapshot(w.file);
    EXPECT_NE(w.write(2), std::optional(false));
    EXPECT_EQ(errors_.shown, std::vector<std::string>{});
    struct stat st;
    ASSERT_EQ(::stat(w.file.c_str(), &st), 0);
    EXPECT_NE(st.st_ino, before.inode);  // replaced, not written over
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (chowned) {
      EXPECT_EQ(st.st_uid, 65534u);
    }
  }
}

TEST_F(FileWritersTest, EveryWriterRefusesAReadOnlyFileWithTheSameError) {
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    ASSERT_EQ(::chmod(w.file.c_str(), 0444), 0);
    const Snapshot before = snapshot(w.file);
    errors_.shown.clear();
    EXPECT_NE(w.write(2), std::optional(true));
    EXPECT_EQ(snapshot(w.file), before);
    EXPECT_EQ(errors_.shown, std::vector<std::string>{w.box(err::kPermissionDenied)});
    EXPECT_EQ(temporaries(w.file), std::vector<std::string>{});
    ::chmod(w.file.c_str(), 0644);
  }
}

TEST_F(FileWritersTest, EveryWriterWritesThroughALinkIntoTheFileItPointsTo) {
  fs::create_directory(app_ + "elsewhere");
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    const std::string real = app_ + "elsewhere/" + fs::path(w.file).filename().string();
    fs::rename(w.file, real);
    fs::create_symlink(fs::relative(real, fs::path(w.file).parent_path()), w.file);
    const Snapshot before = snapshot(real);
    EXPECT_NE(w.write(2), std::optional(false));
    EXPECT_EQ(errors_.shown, std::vector<std::string>{});
    EXPECT_TRUE(fs::is_symlink(w.file));
    EXPECT_NE(snapshot(real).inode, before.inode);
    EXPECT_EQ(temporaries(real), std::vector<std::string>{});
    fs::remove(w.file);
    fs::rename(real, w.file);
  }
}

// A file that may not grow (a full disk) fails the write in a child process; the old file stays.
TEST_F(FileWritersTest, AFullDiskLeavesTheOldFileAndSaysSo) {
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    const Snapshot before = snapshot(w.file);
    const std::optional<std::string> outcome = inChildWithFileSizeLimit(64, [&] {
      errors_.shown.clear();
      const std::optional<bool> result = w.write(2);
      std::string out = result ? (*result ? "true" : "false") : "-";
      for (const std::string& box : errors_.shown) out += "\n" + box;
      return out;
    });
    ASSERT_TRUE(outcome.has_value());
    const std::string failed = w.name == "report" || w.name == "design file" ? "false" : "-";
    EXPECT_EQ(*outcome, failed + "\n" + w.box(err::kDiskFull));
    EXPECT_EQ(snapshot(w.file), before);
    EXPECT_EQ(temporaries(w.file), std::vector<std::string>{});
  }
}

TEST_F(FileWritersTest, AReadOnlyFolderLeavesTheOldFileAndSaysSo) {
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    const Snapshot before = snapshot(w.file);
    errors_.shown.clear();
    {
      RefusedWrites readOnlyFolder(WriteStage::Create, EACCES);
      EXPECT_NE(w.write(2), std::optional(true));
    }
    EXPECT_EQ(snapshot(w.file), before);
    EXPECT_EQ(errors_.shown, std::vector<std::string>{w.box(err::kPermissionDenied)});
    EXPECT_EQ(temporaries(w.file), std::vector<std::string>{});
  }
}

TEST_F(FileWritersTest, AWriteKilledBeforeItsRenameLeavesTheOldFileAndTheNextWriteClearsUp) {
  for (const FileWriter& w : writers()) {
    SCOPED_TRACE(w.name);
    w.write(1);
    const Snapshot before = snapshot(w.file);
    ASSERT_TRUE(killedAt(WriteStage::Rename, [&] { w.write(2); }));
    EXPECT_EQ(snapshot(w.file), before);
    EXPECT_EQ(temporaries(w.file).size(), 1u);  // complete, hidden, and no longer anyone's

    errors_.shown.clear();
    EXPECT_NE(w.write(3), std::optional(false));
    EXPECT_EQ(errors_.shown, std::vector<std::string>{});
    EXPECT_NE(snapshot(w.file), before);
    EXPECT_EQ(temporaries(w.file), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace tovakin::testing
