#include "app/file_in_use.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tovakin::app {
namespace {

using test::readBytes;
using test::writeBytes;

// A child process that holds a lock on a file until it is destroyed.
class LockHolder {
 public:
  LockHolder(const std::string& path, int command, short type) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(release[1]);
      int fd = ::open(path.c_str(), O_RDWR);
      struct flock fl{};
      fl.l_type = type;
      fl.l_whence = SEEK_SET;
      fl.l_start = 0;
      fl.l_len = 1;  // a lock on one byte is enough to hold the file
      char ok = (fd >= 0 && ::fcntl(fd, command, &fl) == 0) ? 'y' : 'n';
      if (::write(ready[1], &ok, 1) != 1) ::_exit(1);
      char c;
      while (::read(release[0], &c, 1) < 0) {
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char ok = 'n';
    locked_ = ::read(ready[0], &ok, 1) == 1 && ok == 'y';
    ::close(ready[0]);
  }
  ~LockHolder() {
    if (release_ >= 0) ::close(release_);  // the child's read returns and it ends
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }
  bool locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

class FileInUse : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string file = dir.file("Tovakin.XLS");
  void SetUp() override { writeBytes(file, "workbook"); }
};

TEST_F(FileInUse, EmptyMissingAndFreeFiles) {
  EXPECT_EQ(myFileInUse(""), -1);
  EXPECT_EQ(myFileInUseCheck(""), -1);
  EXPECT_EQ(myFileInUse(dir.file("missing.XLS")), 0);
  EXPECT_EQ(myFileInUse(dir.file("missing/inside.XLS")), 0);
  EXPECT_EQ(myFileInUse(file), 0);
  EXPECT_EQ(readBytes(file), "workbook");  // the test leaves the file as it was
  EXPECT_EQ(myFileInUse(dir.path()), 0);   // a folder is not a file
}

TEST_F(FileInUse, LockOfAnotherProcess) {
  for (int command : {F_OFD_SETLK, F_SETLK}) {
    for (short type : {short(F_WRLCK), short(F_RDLCK)}) {
      {
        LockHolder holder(file, command, type);
        ASSERT_TRUE(holder.locked());
        EXPECT_EQ(myFileInUse(file), 1) << command << " " << type;
        EXPECT_EQ(myFileInUseCheck(file), 1);
      }
      EXPECT_EQ(myFileInUse(file), 0) << "released";
    }
  }
}

TEST_F(FileInUse, OwnClassicLockDoesNotCount) {
  int fd = ::open(file.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  struct flock fl{};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(fd, F_SETLK, &fl), 0);
  EXPECT_EQ(myFileInUse(file), 0);
  ::close(fd);
}

TEST_F(FileInUse, OfficeLockFileBesideTheDocument) {
  std::string lock = dir.file(".~lock.Tovakin.XLS#");
  writeBytes(lock, "someone,host,/home/someone,01.01.2024 10:00,file:///home/someone/.config;");
  EXPECT_EQ(myFileInUse(file), 1);
  EXPECT_EQ(myFileInUse(dir.file("Other.XLS")), 0);  // another document's lock file is not looked at
  writeBytes(dir.file("Other.XLS"), "x");
  EXPECT_EQ(myFileInUse(dir.file("Other.XLS")), 0);
  std::filesystem::remove(lock);
  EXPECT_EQ(myFileInUse(file), 0);
}

}  // namespace
}  // namespace tovakin::app
