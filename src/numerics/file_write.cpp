#include "numerics/file_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* verb, const std::string& path, int error) {
  throw FileError(std::string("Cannot ") + verb + " file " + path + ": " + std::strerror(error));
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view content, WriteCall writeCall) {
  if (!writeCall) writeCall = &::write;
  // The temporary name lives beside the target so that the rename stays on one file
  // system and is atomic.
  std::string tmp = DirectoryOf(path) + "/.quor-write-XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) Fail("write", path, errno);
  auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(tmp.c_str());
    Fail("write", path, error);
  };
  // Keep the permissions of the file being replaced; a new file gets the usual
  // permissions of the user's files instead of mkstemp's private ones.
  struct stat old {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(fd, mode) != 0) abandon(errno);

  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = writeCall(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon(errno);
    }
    if (n == 0) abandon(EIO);
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(tmp.c_str());
    Fail("write", path, error);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(tmp.c_str());
    Fail("write", path, error);
  }
}

std::string ReadWholeFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) Fail("read", path, EISDIR);
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("read", path, errno ? errno : ENOENT);
  std::ostringstream s;
  if (in.peek() != std::char_traits<char>::eof()) s << in.rdbuf();
  if (in.bad()) Fail("read", path, EIO);
  return s.str();
}
