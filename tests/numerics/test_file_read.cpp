// Files read: only regular files of bounded size, lines with any of the three ends.
#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "numerics/file_read.h"
#include "numerics/file_write.h"

namespace {

using Lines = std::vector<std::string>;

std::string FreshDir() {
  std::string dir = ::testing::TempDir() + "quor_read_XXXXXX";
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  return dir;
}

}  // namespace

TEST(FileRead, LinesEndWithLfCrLfOrCrAndAByteOrderMarkIsNoText) {
  const struct {
    std::string text;
    Lines lines;
  } rows[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},           // the old Mac line end
      {"a\rb", {"a", "b"}},             // no end on the last line
      {"a\n\rb", {"a", "", "b"}},       // LF then CR: two ends, not one
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n\n", {"", ""}},
      {"", {}},
      {"\xEF\xBB\xBF* two plates\r\nLa a 1", {"* two plates", "La a 1"}},
      {"\xEF\xBB\xBF", {}},
      {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},  // only at the very start
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
      {"tab\there \r\n", {"tab\there "}},  // blanks kept
  };
  for (const auto& r : rows) EXPECT_EQ(SplitLines(r.text), r.lines) << r.text;
}

TEST(FileRead, OnlyRegularFilesWithinTheBoundAndEveryRefusalNamesTheFile) {
  const std::string dir = FreshDir();
  const std::string fifo = dir + "/pipe.cap", socketPath = dir + "/socket.cap";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  WriteFileAtomically(dir + "/full.cap", std::string(100, 'x'));
  WriteFileAtomically(dir + "/over.cap", std::string(101, 'x'));

  const struct {
    std::string path;
    const char* reason;  // empty: read
  } rows[] = {
      {fifo, "a named pipe, not a regular file"},  // no writer: must not wait for one
      {socketPath, "a socket, not a regular file"},
      {"/dev/zero", "a device, not a regular file"},  // endless
      {dir, "a folder, not a file"},
      {dir + "/missing.cap", "No such file or directory"},
      {dir + "/over.cap", "more than 100 bytes, too long for a test file"},
      {dir + "/full.cap", ""},
  };
  for (const auto& r : rows) {
    try {
      const std::string text = ReadRegularFile(r.path, 100, "a test file");
      EXPECT_STREQ(r.reason, "") << r.path;
      EXPECT_EQ(text, std::string(100, 'x'));
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot read file " + r.path + ": " + r.reason);
    }
  }
  ::close(s);
}
