// Files are replaced whole or not at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "numerics/file_write.h"
#include "support/save_cases.h"
#include "numerics/library_namespaces.h"

namespace {

std::string FreshDir() {
  std::string dir = ::testing::TempDir() + "quor_write_XXXXXX";
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  return dir;
}

int EntriesIn(const std::string& dir) {
  int n = 0;
  DIR* d = ::opendir(dir.c_str());
  while (dirent* e = ::readdir(d)) n += e->d_name[0] != '.' || std::string(e->d_name).size() > 2;
  ::closedir(d);
  return n;
}

// A disk that fills up after 10 bytes.
ssize_t FullAfterTen(int fd, const void* data, std::size_t size) {
  static thread_local std::size_t written = 0;
  if (written >= 10) {
    written = 0;
    errno = ENOSPC;
    return -1;
  }
  const std::size_t n = std::min<std::size_t>(size, 10 - written);
  written += n;
  return ::write(fd, data, n);
}

}  // namespace

TEST(FileWrite, ReplacesTheWholeFileOrLeavesTheOldOneIntact) {
  const std::string dir = FreshDir();
  const std::string path = dir + "/table.dat";
  WriteFileAtomically(path, "old contents\r\n");
  EXPECT_EQ(ReadWholeFile(path), "old contents\r\n");
  ::chmod(path.c_str(), 0640);

  try {
    WriteFileAtomically(path, std::string(100, 'x'), &FullAfterTen);
    ADD_FAILURE() << "a full disk must not pass for success";
  } catch (const FileError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
  }
  EXPECT_EQ(ReadWholeFile(path), "old contents\r\n");
  EXPECT_EQ(EntriesIn(dir), 1) << "the temporary file is removed";

  WriteFileAtomically(path, "new");
  EXPECT_EQ(ReadWholeFile(path), "new");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";
}

TEST(FileWrite, ErrorsNameTheFile) {
  const std::string dir = FreshDir();
  for (const std::string& path : {dir + "/no/such/dir/x.cap", dir}) {
    try {
      WriteFileAtomically(path, "x");
      ADD_FAILURE() << path;
    } catch (const FileError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(ReadWholeFile(dir + "/missing.trd"), FileError);
  EXPECT_THROW(ReadWholeFile(dir), FileError);
}

namespace {

std::string Save(const std::string& path, const std::string& bytes, WriteCall call) {
  try {
    WriteFileAtomically(path, bytes, call);
    return {};
  } catch (const FileError& e) {
    return e.what();
  }
}

}  // namespace

TEST(FileWrite, EveryKindOfTargetIsSavedAsAUserExpects) { save_cases::CheckTargets(&Save); }

TEST(FileWrite, ASignalDuringTheWriteLeavesNoTemporaryFile) { save_cases::CheckSignals(&Save); }
